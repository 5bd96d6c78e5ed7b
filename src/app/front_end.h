// Who asks and shows: second lines name the command line's options or the
// window's controls, and folders as resolved or as the user typed them.
#pragma once

namespace tarnvale {

enum class FrontEnd { CommandLine, Window };

}  // namespace tarnvale
