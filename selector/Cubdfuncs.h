// The event log: log.txt beside the program, one time-stamped line per event.
#pragma once

#include <string>

// Appends "L mm/dd/yyyy hh:mm:ss - message" (blank-padded fields, CR LF) to the
// log. The file is opened, shared for reading, and closed for every line; a log
// that cannot be opened loses the line silently.
void WriteLog(const std::string& message);

// The file WriteLog appends to: the program's folder followed by "\log.txt",
// unless SetLogFileName chose another.
std::string LogFileName();

// Redirects the log (tests and tools); an empty name restores log.txt beside the program.
void SetLogFileName(const std::string& fileName);

// A handle value as the log shows it: signed decimal, so the invalid handle is -1.
std::string HandleText(const void* handle);
