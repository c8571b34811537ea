// The command-line program's body. On Windows the wide entry point
// (win32/entry/) converts the arguments to UTF-8 and calls it; elsewhere it is
// main itself.
#pragma once

int QuorvelMain(int argc, char** argv);
