#pragma once

struct CommandLine;

// "postavo --check": one reply check of the own posts without a window, a display or the browser engine: the
// same run, limits, outcomes and stored results as "Check for replies", a desktop notification of the posts
// with new replies not told before, a line on the terminal for each post with news or a problem, then the
// exit status. Needs a QCoreApplication.
namespace HeadlessCheck {

enum ExitStatus { NoNewReplies = 0, NewReplies = 1, CouldNotRun = 2, WindowOpen = 3 };

int run(const CommandLine &commandLine);

} // namespace HeadlessCheck
