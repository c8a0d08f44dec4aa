// The one main of every test executable: the program's own application object (offscreen), a scripted
// dialog service, and for each test the state of a new process and a fresh data and runtime folder, so
// that no test touches the user's own or depends on the tests before it.
#include "Test_dialogs.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/vb/Program_state.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace {

std::filesystem::path root;
std::filesystem::path current;
int counter = 0;

class Per_test_setup : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        // Each test starts as a new process would: no window loaded, the program-wide state as the
        // program's start finds it.
        ui::Destroy_All_Forms();
        vb::Reset_Program_State();
        current = root / ("test-" + std::to_string(++counter));
        std::filesystem::create_directories(current / "data");
        std::filesystem::create_directories(current / "run");
        chmod((current / "run").c_str(), 0700);
        setenv("XDG_DATA_HOME", (current / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (current / "run").c_str(), 1);
        Test_dialogs::Instance().Reset();
        ui::Set_Dialog_Service(&Test_dialogs::Instance());
    }
    // Runs before the result is printed, so the test shows as failed.
    void OnTestEnd(const testing::TestInfo&) override { Test_dialogs::Instance().Expect_All_Answers_Used(); }
};

}  // namespace

std::string Test_folder() { return current.string(); }

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string tmpl = (std::filesystem::temp_directory_path() / "vantorel-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return 2;
    root = tmpl;
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", root.c_str(), 1);

    ui::Application app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new Per_test_setup);
    int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return result;
}
