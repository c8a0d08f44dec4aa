#pragma once
// A text file opened for appending, for the logs: raises the file error the logs report ("Path not
// found", "Permission denied", ...) and closes the file when it goes out of scope.
#include <cstdio>
#include <string>

class Log_file {
public:
    // An empty folder (the application-data folder not yet known) is "Path not found".
    Log_file(const std::string& folder, const std::string& file_name);
    ~Log_file();
    Log_file(const Log_file&) = delete;
    Log_file& operator=(const Log_file&) = delete;

    // Writes the text and CR LF; what is written stays written even if a later line fails.
    void Write_Line(const std::string& text);

private:
    std::string path_;
    std::FILE* file_;
};
