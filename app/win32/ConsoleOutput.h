#pragma once
// Text from a windowed program to whoever started it: its standard output when that is a file or
// pipe, else the console of the parent process (a command prompt), else a message box.
#include <string_view>

void WriteToStarter(std::string_view utf8Text, bool isError);
