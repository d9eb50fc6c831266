#pragma once
// The processor time the calling thread has used so far: what a benchmark charges to one thread
// of the program (the flashing engine) rather than to the whole process. One adapter per system.
#include <chrono>

std::chrono::nanoseconds ThreadCpuTime();
