#include "platform/SystemDescription.h"

#include <sys/utsname.h>

std::string SystemDescription() {
    utsname name{};
    if (uname(&name) != 0)
        return "Linux";
    return std::string(name.sysname) + " " + name.release + " " + name.machine;
}
