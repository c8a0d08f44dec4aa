#include "Test_dialogs.h"
#include "platform/vb/VbError.h"
#include "shell/Module_formatmessage.h"
#include "shell/Module_registry.h"
#include "shell/cRegistry.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using namespace registry;
using Variant = cRegistry::Variant;

VbError Error_Of(const std::function<void()>& body) {
    try {
        body();
    } catch (const VbError& e) {
        return e;
    }
    return VbError(0, "none");
}

std::string Text(const Variant& v) { return std::get<std::string>(v); }

TEST(cRegistry, Machine_names_get_two_backslashes_and_short_ones_mean_this_computer) {
    cRegistry reg;
    struct Row { const char* name; const char* stored; } rows[] = {
        {"PC1", "\\\\PC1"}, {"\\\\PC1", "\\\\PC1"}, {"P1", ""}, {"", ""},
    };
    for (const Row& r : rows) {
        reg.Machine(r.name);
        EXPECT_EQ(reg.Machine(), r.stored) << r.name;
    }
}

TEST(cRegistry, Values_round_trip_by_type) {
    cRegistry reg;
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Name", REG_SZ, std::string("x"), std::string("Åsa"));
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Count", REG_DWORD, Variant{}, int32_t{-7});
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Small", REG_DWORD_BIG_ENDIAN, Variant{}, int16_t{5});
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Bytes", REG_BINARY, Variant{},
                std::vector<uint8_t>{0, 1, 255});
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Empty", REG_SZ, std::string("x"), std::string());
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Half", REG_DWORD, int32_t{3}, 2.5);  // writes nothing

    cRegistry fresh;
    EXPECT_EQ(Text(fresh.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Name", REG_SZ, Variant{})), "Åsa");
    EXPECT_EQ(std::get<int32_t>(fresh.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Count", 0, Variant{})), -7);
    EXPECT_EQ(fresh.ValueType(), REG_DWORD);
    EXPECT_EQ(std::get<int32_t>(fresh.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Small", 0, Variant{})), 5);
    EXPECT_EQ(std::get<std::vector<uint8_t>>(fresh.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Bytes", 0, Variant{})),
              (std::vector<uint8_t>{0, 1, 255}));
    EXPECT_EQ(Text(fresh.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Empty", 0, Variant{})), "x");
    EXPECT_EQ(std::get<int32_t>(fresh.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Half", 0, int32_t{3})), 3);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST(cRegistry, Texts_with_an_environment_reference_are_stored_expandable) {
    setenv("VANTOREL_TEST_DIR", "/data", 1);
    struct Row { const char* text; int32_t type; const char* read; } rows[] = {
        {"50%", REG_SZ, "50%"},
        {"%VANTOREL_TEST_DIR%/heats", REG_EXPAND_SZ, "/data/heats"},
        {"a%%b", REG_SZ, "a%%b"},
        {"%NOT_SET_ANYWHERE%/x", REG_EXPAND_SZ, "%NOT_SET_ANYWHERE%/x"},
    };
    for (const Row& r : rows) {
        cRegistry reg;
        reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Path", REG_EXPAND_SZ, Variant{}, std::string(r.text));
        EXPECT_EQ(Text(reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel", "Path", 0, Variant{})), r.read) << r.text;
        EXPECT_EQ(reg.ValueType(), r.type) << r.text;
    }
}

TEST(cRegistry, A_text_stored_without_its_terminating_zero_keeps_its_last_character) {
    Registry_store store = Module_registry::Registry_Store();
    ASSERT_EQ(store.Create_Key(HKEY_CURRENT_USER, "Texts"), Ok);
    struct Row { const char* name; int32_t type; std::string data; const char* read; } rows[] = {
        {"ended", REG_SZ, std::string("abc\0", 4), "abc"},
        {"unended", REG_SZ, "abc", "abc"},
        {"empty", REG_SZ, "", ""},
        {"zero", REG_SZ, std::string("\0", 1), ""},
        {"expandable", REG_EXPAND_SZ, "xyz", "xyz"},
    };
    for (const Row& r : rows) {
        ASSERT_EQ(store.Set_Value(HKEY_CURRENT_USER, "Texts", r.name, r.type, {r.data.begin(), r.data.end()}), Ok);
        cRegistry reg;
        EXPECT_EQ(Text(reg.ValueEx(HKEY_CURRENT_USER, "Texts", r.name, 0, Variant{})), r.read) << r.name;
    }
}

TEST(cRegistry, A_big_endian_number_has_its_bytes_turned) {
    Registry_store store = Module_registry::Registry_Store();
    ASSERT_EQ(store.Create_Key(HKEY_CURRENT_USER, "Numbers"), Ok);
    ASSERT_EQ(store.Set_Value(HKEY_CURRENT_USER, "Numbers", "be", REG_DWORD_BIG_ENDIAN, {0, 0, 1, 0}), Ok);
    cRegistry reg;
    EXPECT_EQ(std::get<int32_t>(reg.ValueEx(HKEY_CURRENT_USER, "Numbers", "be", 0, Variant{})), 256);
}

TEST(cRegistry, An_unreadable_key_is_reported_and_gives_the_default) {
    cRegistry reg;
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(Text(reg.ValueEx(HKEY_CURRENT_USER, "Missing", "v", REG_SZ, std::string("dflt"))), "dflt");
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt,
              "Error reading registry, " + Module_formatmessage::System_Error_Text(Not_Found));

    // Another computer is never reached: the default without a message, and a write raises.
    reg.Machine("PC1");
    EXPECT_EQ(Text(reg.ValueEx(HKEY_CURRENT_USER, "Missing", "v", REG_SZ, std::string("dflt"))), "dflt");
    VbError e = Error_Of([&] { reg.Value(std::string("v")); });
    EXPECT_EQ(e.Number(), vb::Err_Own);
    EXPECT_EQ(e.Description(),
              "Failed to set registry value Key: '-2147483647',Section: 'Missing',Key: 'v' to value: 'v'");
    EXPECT_EQ(e.Source(), "test_shell.cRegistry");
}

TEST(cRegistry, Failures_raise_the_errors_of_the_class) {
    cRegistry reg;
    reg.ClassKey(HKEY_CURRENT_USER);
    reg.SectionKey("Nope");
    reg.ValueKey("v");
    VbError e = Error_Of([&] { reg.DeleteKey(); });
    EXPECT_EQ(e.Number(), vb::Err_Own);
    EXPECT_EQ(e.Description(), "Failed to delete registry Key: '-2147483647',Section: 'Nope");
    e = Error_Of([&] { reg.DeleteValue(); });
    EXPECT_EQ(e.Description(), "Failed to open key '-2147483647',Section: 'Nope' for delete access");
    ASSERT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    e = Error_Of([&] { reg.DeleteValue(); });
    EXPECT_EQ(e.Description(), "Failed to delete registry Key: '-2147483647',Section: 'Nope',Key: 'v");

    reg.ValueType(REG_BINARY);
    e = Error_Of([&] { reg.Value(std::string("not bytes")); });
    EXPECT_EQ(e.Number(), vb::Err_Own);
    EXPECT_EQ(e.Description(), VbError::Standard_Text(vb::Err_Own));
    EXPECT_EQ(e.Source(), "");
    reg.ValueType(99);
    EXPECT_EQ(Error_Of([&] { reg.Value(std::string("x")); }).Number(), cRegistry::Err_Set_Value);

    reg.ClassKey(HKEY_LOCAL_MACHINE);
    reg.SectionKey("HARDWARE\\Mine");
    e = Error_Of([&] { reg.CreateKey(); });
    EXPECT_EQ(e.Description(), "Failed to create registry Key: 'HARDWARE\\Mine");

    reg.ClassKey(HKEY_CURRENT_USER);
    reg.SectionKey("Nope");
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());
}

TEST(cRegistry, Enumerations_list_names_and_give_nothing_for_a_missing_key) {
    cRegistry reg;
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel\\Sub1", "a", REG_SZ, Variant{}, std::string("1"));
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel\\sub0", "b", REG_SZ, Variant{}, std::string("2"));
    reg.ValueEx(HKEY_CURRENT_USER, "Software\\Vantorel\\sub0", "a", REG_SZ, Variant{}, std::string("3"));
    std::vector<std::string> names{"stale"};
    int32_t count = 9;
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(names, (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(count, 2);
    reg.SectionKey("Software\\Vantorel");
    EXPECT_TRUE(reg.EnumerateSections(names, count));
    EXPECT_EQ(names, (std::vector<std::string>{"sub0", "Sub1"}));
    EXPECT_EQ(count, 2);
    reg.SectionKey("Software\\Missing");
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(reg.EnumerateSections(names, count));
    EXPECT_EQ(count, 0);
}

TEST(cRegistry, An_executable_association_writes_both_class_roots) {
    cRegistry reg;
    reg.CreateEXEAssociation("  C:\\App\\app.exe ", "demo_ext", "Demo file", "demo", "", true, "", false, "", true, "",
                             0);
    EXPECT_EQ(reg.ClassKey(), HKEY_LOCAL_MACHINE);
    const std::string quoted = "\"C:\\App\\app.exe\"";
    struct Row { const char* key; std::string value; } rows[] = {
        {".demo", "demo_ext"},
        {"demo_ext", "Demo file"},
        {"demo_ext\\shell\\open", "&Open"},
        {"demo_ext\\shell\\open\\command", quoted + " \"%1\""},
        {"demo_ext\\shell\\print", "&Print"},
        {"demo_ext\\shell\\print\\command", quoted + " /p \"%1\""},
        {"demo_ext\\shell\\add", "&Install demo"},
        {"demo_ext\\shell\\add\\command", quoted + " /a \"%1\""},
        {"demo_ext\\DefaultIcon", quoted + ",0"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Text(reg.ValueEx(HKEY_CLASSES_ROOT, r.key, "", REG_SZ, Variant{})), r.value) << r.key;
        EXPECT_EQ(Text(reg.ValueEx(HKEY_LOCAL_MACHINE, std::string("SOFTWARE\\Classes\\") + r.key, "", REG_SZ,
                                   Variant{})),
                  r.value)
            << r.key;
    }
    reg.ClassKey(HKEY_CLASSES_ROOT);
    reg.SectionKey("demo_ext\\shell\\new");
    EXPECT_FALSE(reg.KeyExists());

    // Further commands need the class, and whole triples.
    VbError e = Error_Of([&] { reg.CreateAdditionalEXEAssociations("demo_ext", {std::string("x"), std::string("y")}); });
    EXPECT_EQ(e.Number(), cRegistry::Err_Invalid_Items);
    EXPECT_EQ(e.Description(),
              "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
    e = Error_Of([&] {
        reg.CreateAdditionalEXEAssociations("other_ext", {std::string("x"), std::string("y"), std::string("z")});
    });
    EXPECT_EQ(e.Number(), cRegistry::Err_Class_Undefined);
    EXPECT_EQ(e.Description(), "Error - attempt to create additional associations before class defined.");

    reg.ClassKey(HKEY_CLASSES_ROOT);
    reg.CreateAdditionalEXEAssociations("demo_ext",
                                        {std::string("view"), std::string("&View"), quoted + " /v \"%1\""});
    EXPECT_EQ(Text(reg.ValueEx(HKEY_CLASSES_ROOT, "demo_ext\\shell\\view", "", REG_SZ, Variant{})), "&View");
    EXPECT_EQ(Text(reg.ValueEx(HKEY_CLASSES_ROOT, "demo_ext\\shell\\view\\command", "", REG_SZ, Variant{})),
              quoted + " /v \"%1\"");
}

TEST(cRegistry, System_Error_Text_names_the_code_in_decimal_and_hexadecimal) {
    EXPECT_EQ(Module_formatmessage::System_Error_Text(12345), "(No such error)\r\n\r\nDec: 12345\tHex: 3039");
    EXPECT_EQ(Module_formatmessage::System_Error_Text(-1), "(No such error)\r\n\r\nDec: -1\tHex: FFFFFFFF");
    EXPECT_EQ(Module_formatmessage::System_Error_Text(Not_Found), Result_Text(Not_Found) + "\r\nDec: 2\tHex: 2");
    EXPECT_EQ(Module_formatmessage::System_Error_Text(No_More_Items), Result_Text(No_More_Items) + "\r\nDec: 259\tHex: 103");
}

TEST(cRegistry, Processor_usage_is_a_percentage) {
    int32_t usage = Module_registry::Get_CPU_Usage();
    EXPECT_GE(usage, 0);
    EXPECT_LE(usage, 100);
}

}  // namespace
