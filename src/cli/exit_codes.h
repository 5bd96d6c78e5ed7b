// Exit status of tarnvale-cli.
#pragma once

namespace tarnvale::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitError = 1;      // any error ending or refused input
inline constexpr int kExitUsage = 2;      // wrong or missing options
inline constexpr int kExitCancelled = 3;  // Ctrl-C or SIGTERM
// Something differs: `diff` found two sets that differ, `status` a set that
// is not current.
inline constexpr int kExitChanged = 4;

}  // namespace tarnvale::cli
