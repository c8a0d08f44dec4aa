// Writes a sample heat for the review window: make_sample_heat [<file>.kd3], by default
// "sample-heat.kd3" in the current folder. Open it with `vantorel <file>.kd3`.
#include "Sample_heat.h"

#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"

#include <QCoreApplication>

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // An option is never taken for the file to write.
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::cerr << "usage: make_sample_heat [<file>.kd3]\n";
        return 2;
    }
    const std::string path = std::filesystem::absolute(argc > 1 ? argv[1] : "sample-heat.kd3").string();
    std::string failure;
    // The store reports its trapped errors; a tool says them and fails.
    vb::Set_Error_Reporter([&failure](const std::string& description, int32_t number, int32_t, const std::string& where,
                                      const std::string&) {
        if (failure.empty()) failure = std::to_string(number) + ", " + description + " (" + where + ")";
    });
    try {
        Sample_heat::Write(path);
    } catch (const VbError& e) {
        failure = std::to_string(e.Number()) + ", " + e.Description();
    }
    if (!failure.empty()) {
        std::cerr << "make_sample_heat: " << path << ": " << failure << "\n";
        return 1;
    }
    std::cout << path << "\n";
    return 0;
}
