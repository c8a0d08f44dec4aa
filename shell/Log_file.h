#pragma once
// A text file opened for appending, for the logs: raises the file error the logs report ("Path not
// found", "Permission denied", ...) and closes the file when it goes out of scope.
#include <cstdio>
#include <string>

class VbError;

class Log_file {
public:
    // An empty folder (the application-data folder not yet known) is "Path not found".
    Log_file(const std::string& folder, const std::string& file_name);
    ~Log_file();
    Log_file(const Log_file&) = delete;
    Log_file& operator=(const Log_file&) = delete;

    // Writes the text and CR LF; what is written stays written even if a later line fails.
    void Write_Line(const std::string& text);

    // The "Log error" box for a log that failed, once per log and error until a write to it succeeds.
    static void Tell_Failure(const std::string& folder, const std::string& file_name, const VbError& error);
    static void Succeeded(const std::string& folder, const std::string& file_name);

private:
    std::string path_;
    std::FILE* file_;
};
