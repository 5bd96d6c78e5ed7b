// Exit status of tarnvale-cli.
#pragma once

namespace tarnvale::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitError = 1;      // any error ending or refused input
inline constexpr int kExitUsage = 2;      // wrong or missing options
inline constexpr int kExitCancelled = 3;  // Ctrl-C or SIGTERM

}  // namespace tarnvale::cli
