// How a command-line program meets its caller, in one place: its arguments,
// its standard streams and the console.
#pragma once

#include <string>
#include <vector>

namespace torvane {

// The program's arguments as UTF-8, argv[0] first. On Windows they are read
// as UTF-16 from the system, since argv holds them in the ANSI code page,
// where a Chinese name is lost under code page 1252.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Where the program was started with standard input, output or error
// closed, puts the null device in its place, so that no file the program
// opens later takes descriptor 0, 1 or 2 and is read as the input or
// written by what goes to the output or the messages. Each is opened the
// other way round (the input for writing, the output and error for
// reading), so that using it still fails as on a closed descriptor. Called
// first thing in main, before anything opens a file.
void ReopenClosedStandardStreams();

// True when ReopenClosedStandardStreams found standard output closed.
bool StandardOutputWasClosed();

// Standard input, output and error carry bytes as they are, so that output
// is the same on every system. On Windows they start in text mode, which
// writes LF as CR LF and ends input at a Ctrl-Z byte.
void UseBinaryStandardStreams();

// True when the program was started with standard input closed, also after
// ReopenClosedStandardStreams has put the null device in its place: without
// that, the next file opened would take its descriptor and be read as the
// input.
bool StandardInputIsClosed();

// std::cout and std::cerr carry UTF-8 text. Where one of them is a Windows
// console, its text is shown as characters (WriteConsoleW), whatever the
// console's code page; redirected, it stays UTF-8 bytes. Nothing to do on
// POSIX systems, whose terminals take UTF-8.
void UseConsoleText();

}  // namespace torvane
