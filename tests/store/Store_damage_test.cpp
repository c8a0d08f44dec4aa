// Heats that survive damage and disk faults: torn header rewrites, heats that cannot be written,
// damaged size fields, sizes from the file beyond any picture, a full disk, long heats, ticks at the wrap.
#include "Store_test_support.h"
#include "Test_limits.h"
#include "store/Header_journal.h"
#include "platform/vb/Vb_convert.h"
#include "store/Kd3_format.h"

#include <cerrno>
#include <csignal>
#include <functional>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int32_t W = 32, H = 16, N = 8000, S = N + 58;

std::string Log_Text() {
    std::vector<uint8_t> b = File_Bytes(Test_folder() + "/Vantorel_eventlog.txt");
    return {b.begin(), b.end()};
}

using Op = Binary_file::Operation;
using Fault = Binary_file::Fault;

// Every frame of a heat of `frames` frames reads back with its own tick.
void Expect_Every_Frame(const std::string& path, int32_t frames) {
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    ASSERT_TRUE(reader.File_open());
    EXPECT_TRUE(reader.Header().Parse_OK());
    EXPECT_EQ(reader.Num_Frames(), frames);
    for (int32_t n = 1; n <= frames; ++n) {
        reader.Read_RGB_sample(n, true);
        EXPECT_TRUE(reader.Frame_available()) << n;
        EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(n)) << n;
    }
}

class Store_damage : public Store_test {
protected:
    void SetUp() override {
        Store_test::SetUp();
        path = Path("heat.kd3");
        Make_Heat_File(store, path, W, H, N);
        Append_Segment(store, path, 1, 10, W, H);
    }
    // Rewrites the header record with `edit` applied to the document.
    template <class Edit>
    void Edit_Header(Edit&& edit) {
        cls_VideoFile_handler editor;
        editor.File_name(path);
        editor.Open_RGB_File();
        edit(editor.Header());
        editor.Write_KD3_header();
        editor.Close_File();
    }
    cls_VideoFile_handler store;
    std::string path;
};

}  // namespace

TEST_F(Store_damage, a_header_rewrite_cut_short_loses_no_frame) {
    struct Case {
        const char* name;
        int64_t bytes;        // written of the new header before the fault
        int error;
        bool disk_stays_bad;  // the old record cannot be put back before the heat is closed
    } cases[] = {
        {"I/O error half way, put back at once", 16000, EIO, false},
        {"I/O error half way, restored at the next opening", 16000, EIO, true},
        {"full disk at the first byte", 0, ENOSPC, true},
        {"sync fails", -1, EIO, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> before = File_Bytes(path);
        bool armed = false, failed = false;
        Binary_file::Set_Fault_Hook([&](Op op, const std::string& file, int64_t offset, int64_t) {
            if (!armed || file != path) return Fault{};
            if (c.bytes < 0 ? op != Op::sync : op != Op::write || offset != 0) return Fault{};
            if (failed && !c.disk_stays_bad) return Fault{};
            failed = true;
            return Fault{c.bytes, c.error};
        });
        cls_VideoFile_handler review;
        review.File_name(path);
        review.Open_RGB_File();
        review.Header().File_comment1(std::string(20000, 'r'));  // the tear falls inside it
        armed = true;
        EXPECT_NE(Error_Of([&] { review.Write_KD3_header(); }), 0);
        review.Close_File();
        armed = false;
        Binary_file::Set_Fault_Hook(nullptr);
        EXPECT_EQ(Header_journal::Exists(path), c.disk_stays_bad);
        Expect_Every_Frame(path, 10);
        EXPECT_FALSE(Header_journal::Exists(path));
        EXPECT_EQ(File_Bytes(path), before);  // the header as it was before the rewrite
        if (c.disk_stays_bad) {
            EXPECT_NE(Log_Text().find("the header is restored from the journal: " + path), std::string::npos);
        }
    }
    EXPECT_TRUE(reports.empty());
}

// A rewrite that fails and cannot put the old record back leaves the journal; the file may hold a torn
// record. Every later rewrite of that opening rolls back to the journal's record, never to the file's.
TEST_F(Store_damage, a_second_header_rewrite_after_one_that_could_not_put_back_keeps_the_last_whole_header) {
    const Fault ok{}, torn{16000, EIO}, fails{0, EIO};
    struct Case {
        const char* name;
        std::vector<Fault> script;  // one fault for each header write and each sync of the heat, in turn
        bool same_header;           // the second rewrite asks for the record the first one failed to make
        bool second_fails;
    } cases[] = {
        {"torn twice, put back the second time", {torn, fails, torn}, false, true},
        {"torn, then the second rewrite's sync fails", {torn, fails, ok, fails}, false, true},
        {"torn, then the second rewrite succeeds", {torn, fails}, false, false},
        {"sync fails, then the same header again", {ok, fails, fails}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> before = File_Bytes(path);
        size_t step = 0;
        Binary_file::Set_Fault_Hook([&](Op op, const std::string& file, int64_t offset, int64_t) {
            const bool header_write = op == Op::write && offset == 0;
            if (file != path || !(header_write || op == Op::sync) || step >= c.script.size()) return Fault{};
            return c.script[step++];
        });
        cls_VideoFile_handler review;
        review.File_name(path);
        review.Open_RGB_File();
        review.Header().File_comment1(std::string(20000, 'r'));  // the tear falls inside it
        EXPECT_NE(Error_Of([&] { review.Write_KD3_header(); }), 0);
        ASSERT_TRUE(Header_journal::Exists(path));
        const std::string second(20000, c.same_header ? 'r' : 's');
        review.Header().File_comment1(second);
        EXPECT_EQ(Error_Of([&] { review.Write_KD3_header(); }) != 0, c.second_fails);
        review.Close_File();
        Binary_file::Set_Fault_Hook(nullptr);
        EXPECT_EQ(step, c.script.size());
        EXPECT_FALSE(Header_journal::Exists(path));
        Expect_Every_Frame(path, 10);
        if (c.second_fails) {
            EXPECT_EQ(File_Bytes(path), before);
        } else {
            cls_VideoFile_handler reader;
            reader.File_name(path);
            reader.Open_RGB_File();
            EXPECT_EQ(reader.Header().File_comment1(), second);
        }
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(Store_damage, a_writer_killed_in_the_middle_of_a_header_rewrite_leaves_a_heat_that_reopens_whole) {
    std::vector<uint8_t> before = File_Bytes(path);
    pid_t child = fork();
    if (child == 0) {
        // The first 4096 bytes of the record reach the file, then the process is killed.
        int calls = 0;
        Binary_file::Set_Fault_Hook([&](Op op, const std::string& file, int64_t offset, int64_t) {
            if (op == Op::write && file == path && (offset == 0 || calls > 0)) {
                if (++calls == 2) raise(SIGKILL);
                return Fault{4096, 0};
            }
            return Fault{};
        });
        cls_VideoFile_handler review;
        review.File_name(path);
        review.Open_RGB_File();
        review.Header().File_comment1(std::string(6000, 'r'));  // the tear falls inside it
        review.Write_KD3_header();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    std::vector<uint8_t> torn = File_Bytes(path);
    ASSERT_NE(torn, before);
    Cls_XML_header h;
    Test_dialogs::Instance().Answer(ui::vbOK);  // the parse failure's message
    kd3::Header_Bytes record;
    std::copy_n(torn.begin(), kd3::Header_Length, record.begin());
    EXPECT_FALSE(h.XML_string(kd3::Get_File_Header(record).ansi_text));  // torn: the text does not parse
    ASSERT_TRUE(Header_journal::Exists(path));

    Expect_Every_Frame(path, 10);
    EXPECT_EQ(File_Bytes(path), before);
    EXPECT_FALSE(Header_journal::Exists(path));
    EXPECT_NE(Log_Text().find("Header rewrite was interrupted; the header is restored from the journal: " + path),
              std::string::npos);
}

TEST_F(Store_damage, a_journal_cut_short_is_ignored_and_a_new_heat_drops_an_old_journal) {
    std::vector<uint8_t> before = File_Bytes(path);
    std::vector<uint8_t> record(before.begin(), before.begin() + kd3::Header_Length);
    record[100] ^= 0xFF;  // a journal of another header
    {
        kd3::Header_Bytes other;
        std::copy(record.begin(), record.end(), other.begin());
        Header_journal::Keep(path, other);
    }
    std::filesystem::resize_file(Header_journal::Path_Of(path), kd3::Header_Length / 2);
    Expect_Every_Frame(path, 10);
    EXPECT_EQ(File_Bytes(path), before);
    EXPECT_FALSE(Header_journal::Exists(path));
    EXPECT_NE(Log_Text().find("Header journal incomplete, the header is as it was: " + path), std::string::npos);

    // A whole journal beside a file that a new heat replaces belongs to the old heat.
    kd3::Header_Bytes old;
    std::copy_n(before.begin(), kd3::Header_Length, old.begin());
    Header_journal::Keep(path, old);
    Make_Heat_File(store, path, W, H, N);
    EXPECT_FALSE(Header_journal::Exists(path));
    store.File_name(path);
    store.Open_RGB_File();
    EXPECT_EQ(store.Num_Frames(), 0);
}

TEST_F(Store_damage, a_heat_that_can_be_read_but_not_written_opens_for_reading) {
    for (int error : {EACCES, EROFS}) {
        SCOPED_TRACE(error);
        std::vector<uint8_t> before = File_Bytes(path);
        Binary_file::Set_Fault_Hook([&](Op op, const std::string& file, int64_t, int64_t) {
            return op == Op::open_for_writing && file == path ? Fault{0, error} : Fault{};
        });
        cls_VideoFile_handler review;
        review.File_name(path);
        review.Open_RGB_File();
        EXPECT_TRUE(reports.empty());
        ASSERT_TRUE(review.File_open());
        EXPECT_TRUE(review.Read_only());
        EXPECT_TRUE(review.Header().Parse_OK());
        EXPECT_EQ(review.Num_Frames(), 10);
        review.Read_RGB_sample(7, true);
        EXPECT_EQ(review.KD3_Capture_mill(), Tick_Of(7));
        review.Header().File_comment1("changed");
        EXPECT_EQ(Error_Of([&] { review.Write_KD3_header(); }), vb::Err_Permission_Denied);
        review.Close_File();
        // With a journal beside it the header is read from the journal; the file stays as it is.
        std::vector<uint8_t> torn = before;
        std::fill(torn.begin() + 200, torn.begin() + 20000, uint8_t{0});
        kd3::Header_Bytes good;
        std::copy_n(before.begin(), kd3::Header_Length, good.begin());
        Header_journal::Keep(path, good);
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(torn.data()), static_cast<std::streamsize>(torn.size()));
        }
        review.Open_RGB_File();
        EXPECT_TRUE(review.Header().Parse_OK());
        EXPECT_EQ(review.Num_Frames(), 10);
        review.Close_File();
        EXPECT_EQ(File_Bytes(path), torn);
        EXPECT_TRUE(Header_journal::Exists(path));
        Binary_file::Set_Fault_Hook(nullptr);
        Expect_Every_Frame(path, 10);  // writable again: restored
        EXPECT_EQ(File_Bytes(path), before);
    }
}

TEST_F(Store_damage, damaged_size_fields_take_the_record_length_from_the_records) {
    struct Case {
        const char* sample_size;
        const char* buffer_size;
    } cases[] = {{"0", "0"}, {"1", "8000"}, {"8058", "0"}, {"0", "8000"}, {"2147483589", "2147483589"},
                 {"9058", "9000"}, {"-5", "-5"}, {"58", "0"}};
    int32_t frames = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sample_size) + " / " + c.buffer_size);
        Edit_Header([&](Cls_XML_header& h) {
            h.RGB_Sample_Size(vb::CLng(c.sample_size));
            h.RGB_Compressed_buffer_Size(vb::CLng(c.buffer_size));
        });
        Expect_Every_Frame(path, frames);
        // A segment appended after it writes records of the file's own length.
        Append_Segment(store, path, frames + 1, 1, W, H);
        ++frames;
        EXPECT_EQ(std::filesystem::file_size(path), 32016u + static_cast<uint64_t>(frames) * S);
    }
    // A damaged descriptor in record 1: the header's length stands, record 1 alone is unavailable.
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(kd3::First_Record + 46);
        f.put('\x7F');
    }
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Num_Frames(), frames);
    reader.Read_RGB_sample(1, false);
    EXPECT_FALSE(reader.Frame_available());
    reader.Read_RGB_sample(2, false);
    EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(2));
    EXPECT_TRUE(reports.empty());
}

TEST_F(Store_damage, a_heat_cut_short_offers_only_its_whole_records_and_says_how_many_are_missing) {
    struct Case {
        const char* name;
        int64_t length;
        int32_t header_frames;
        int32_t whole, missing;
    } cases[] = {
        {"cut inside record 6", 32016 + 5 * S + 100, 10, 5, 5},
        {"a header counting 1000 frames with none behind it", 32016, 1000, 0, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string cut = Path("cut.kd3");
        std::filesystem::copy_file(path, cut, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::resize_file(cut, static_cast<uintmax_t>(c.length));
        cls_VideoFile_handler reader;
        reader.File_name(cut);
        reader.Open_RGB_File();
        if (c.header_frames != 10) {
            reader.Header().Frames_no(c.header_frames);
            reader.Write_KD3_header();
            reader.Open_RGB_File();
        }
        EXPECT_EQ(reader.Num_Frames(), c.whole);
        EXPECT_EQ(reader.Num_fields(), 2 * c.whole);
        EXPECT_EQ(reader.KD3_Num_fields(), 2 * c.whole);
        EXPECT_EQ(reader.Missing_Frames(), c.missing);
        EXPECT_NE(Log_Text().find("the header counts " + std::to_string(c.header_frames) + " frames, the file holds " +
                                  std::to_string(c.whole) + ", " + std::to_string(c.missing) + " missing: " + cut),
                  std::string::npos);
        reader.Close_File();
        std::filesystem::remove(cut);
    }
}

TEST_F(Store_damage, sizes_from_the_file_beyond_the_frame_size_are_refused_not_allocated) {
    // A frame size no capture gives: the file is refused with a clear message.
    Module_Vantorel::Is_Compiled = true;
    std::string huge = Path("huge.kd3");
    std::filesystem::copy_file(path, huge);
    {
        cls_VideoFile_handler editor;
        editor.File_name(huge);
        editor.Open_RGB_File();
        editor.Header().RGB_X(30000);
        editor.Write_KD3_header();
        editor.Close_File();
    }
    cls_VideoFile_handler reader;
    reader.File_name(huge);
    reader.Open_RGB_File();
    EXPECT_FALSE(reader.File_open());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].location, "Open_file of Class Module Class_RGB_file_handler");
    EXPECT_NE(reports[0].description.find("frame size of 30000 x 16"), std::string::npos) << reports[0].description;
    reports.clear();

    // A JPEG whose frame header claims 30000 x 20000 in a 32 x 16 heat: not decoded, the blue picture.
    std::vector<uint8_t> jpeg = Band_JPEG(W, H, 1);
    size_t sof = 0;
    while (sof + 8 < jpeg.size() && !(jpeg[sof] == 0xFF && (jpeg[sof + 1] == 0xC0 || jpeg[sof + 1] == 0xC2))) ++sof;
    ASSERT_LT(sof + 8, jpeg.size());
    jpeg[sof + 5] = 20000 >> 8, jpeg[sof + 6] = 20000 & 0xFF, jpeg[sof + 7] = 30000 >> 8, jpeg[sof + 8] = 30000 & 0xFF;
    reader.File_name(path);
    reader.Open_RGB_File();
    reader.Position_at_End();
    reader.Append_Compressed_RGB_Frame(1, Tick_Of(11), 40, 80, static_cast<int32_t>(jpeg.size()), jpeg.data(), 11);
    reader.Close_File();
    reader.Open_RGB_File();
    reader.Read_RGB_sample(11, true);
    EXPECT_TRUE(reader.Frame_available());
    EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(11));
    EXPECT_EQ(reader.Frame_Image().Width(), W);
    EXPECT_EQ(reader.Frame_Image().Height(), H);
    EXPECT_TRUE(Near(Pixel_At(reader.Frame_Image(), 1, 1), {255, 0, 0}, 0));

    // A record whose buffer is longer than any picture of the frame size reads as unavailable.
    reader.Close_File();
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(kd3::First_Record + 46);
        const char huge_count[4] = {'\x00', '\x00', '\x00', '\x70'};
        f.write(huge_count, 4);
    }
    Edit_Header([](Cls_XML_header& h) {
        h.RGB_Sample_Size(0);
        h.RGB_Compressed_buffer_Size(0);
    });
    reader.Open_RGB_File();
    reader.Read_RGB_sample(1, true);
    EXPECT_FALSE(reader.Frame_available());
    EXPECT_TRUE(reports.empty());
}

TEST_F(Store_damage, a_full_disk_in_a_segment_reports_once_cuts_the_half_record_and_counts_what_is_on_disk) {
    Module_Vantorel::Is_Compiled = true;
    // The disk has room for four and a half more records; a new file (the journal) gets none.
    const int64_t room = 32016 + 14 * int64_t{S} + S / 2;
    Binary_file::Set_Fault_Hook([&](Op op, const std::string& file, int64_t offset, int64_t size) {
        if (op != Op::write) return Fault{};
        if (file != path) return Fault{0, ENOSPC};
        return offset + size > room ? Fault{std::max<int64_t>(0, room - offset), ENOSPC} : Fault{};
    });
    Append_Segment(store, path, 11, 10, W, H);
    Binary_file::Set_Fault_Hook(nullptr);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].number, vb::Err_Disk_Full);
    EXPECT_EQ(reports[0].location, "Append_Compressed_RGB_Frame of Class Module cls_VideoFile_handler");
    EXPECT_EQ(store.Refused_Frames(), 6);
    EXPECT_EQ(std::filesystem::file_size(path), 32016u + 14u * S);
    EXPECT_NE(Log_Text().find("No room for the header journal; the header is rewritten without it: " + path),
              std::string::npos);
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Header().Frames_no(), 14);
    EXPECT_EQ(reader.Segments_Num(), 2);
    EXPECT_EQ(Log_Text().find("the header counts"), std::string::npos);  // nothing left to recount
    reader.Close_File();
    Expect_Every_Frame(path, 14);
}

TEST_F(Store_damage, a_file_size_limit_ends_the_segment_with_an_error_not_the_program) {
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = static_cast<rlim_t>(32016 + 12 * S + 100);
        setrlimit(RLIMIT_FSIZE, &limit);
        Module_Vantorel::Is_Compiled = true;
        cls_VideoFile_handler writer;
        Append_Segment(writer, path, 11, 5, W, H);
        _exit(writer.Refused_Frames() == 3 && reports.size() == 1 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    Expect_Every_Frame(path, 12);
}

TEST_F(Store_damage, a_heat_goes_past_32767_frames) {
    // Frames 11 to 32767 stand as a hole in the file: only the counts are asked of them.
    Edit_Header([](Cls_XML_header& h) { h.Frames_no(32767); });
    std::filesystem::resize_file(path, 32016u + 32767u * S);
    Append_Segment(store, path, 32768, 2, W, H);
    EXPECT_TRUE(reports.empty());
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Header().Frames_no(), 32769);
    EXPECT_EQ(reader.Num_Frames(), 32769);
    EXPECT_EQ(reader.Num_fields(), 65538);
    EXPECT_EQ(reader.KD3_Num_fields(), 65538);
    reader.Read_RGB_sample(32769, false);
    EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(32769));
    Test_surface box(W, H);
    reader.Draw_RGB_Field(65537, box);
    EXPECT_EQ(reader.KD3_Displayed_Frame(), 32769);
}

TEST_F(Store_damage, capture_ticks_round_across_the_wrap) {
    struct Case {
        int32_t tick, rounded;
    } cases[] = {
        {INT32_MIN, 2147483646},               // -2147483640 - 10, wrapped
        {INT32_MIN + 27, 2147483646},
        {INT32_MIN + 28, -2147483610},         // halves to even
        {INT32_MAX, 2147483630},
        {-1, -10},
        {0, -10},
        {60, 70},
    };
    std::string wrap = Path("wrap.kd3");
    Make_Heat_File(store, wrap, W, H, N);
    std::vector<uint8_t> jpeg = Band_JPEG(W, H, 1);
    store.File_name(wrap);
    store.Open_RGB_File();
    for (const Case& c : cases)
        store.Append_Compressed_RGB_Frame(0, c.tick, 40, 80, static_cast<int32_t>(jpeg.size()), jpeg.data(), 1);
    store.Close_File();
    cls_VideoFile_handler reader;
    reader.File_name(wrap);
    reader.Open_RGB_File();
    int32_t n = 0;
    for (const Case& c : cases) {
        reader.Read_RGB_sample(++n, false);
        EXPECT_EQ(reader.KD3_Capture_mill(), c.tick);
        EXPECT_EQ(reader.Rounded_Capture_Time(), c.rounded) << c.tick;
    }
}

// A heat whose name leaves no room for "-journal" keeps a journal of its own all the same: each header
// rewrite is protected by it, and one left by a crash is found at the next opening.
TEST_F(Store_damage, a_heat_named_near_the_longest_name_keeps_its_journal) {
    std::string letters;
    for (int i = 0; i < 24; ++i) letters += "\u00c5";  // two bytes each
    const struct Case {
        std::string name;
        bool cut;
    } cases[] = {
        {std::string(243, 'h') + ".kd3", false},  // "-journal" just fits: the name it always had
        {std::string(244, 'h') + ".kd3", true},
        {std::string(246, 'h') + "1.kd3", true},
        {std::string(246, 'h') + "2.kd3", true},  // the same start as the one above
        {std::string(201, 'h') + letters + ".kd3", true},  // the cut falls inside a character
        {std::string(251, 'h') + ".kd3", true},  // the longest name there is
    };
    std::set<std::string> journals;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.size());
        const std::string heat = Path(c.name);
        cls_VideoFile_handler maker;
        Make_Heat_File(maker, heat, W, H, N);
        Append_Segment(maker, heat, 1, 10, W, H);
        const std::string journal = Header_journal::Path_Of(heat);
        EXPECT_EQ(Header_journal::Path_Of(heat), journal);
        EXPECT_TRUE(journals.insert(journal).second) << journal;
        const std::string name = std::filesystem::path(journal).filename().string();
        EXPECT_LE(name.size(), 255u);
        EXPECT_EQ(std::filesystem::path(journal).parent_path(), Test_folder());
        EXPECT_EQ(name.substr(name.size() - 8), "-journal");
        if (!c.cut) {
            EXPECT_EQ(journal, heat + "-journal");
        } else {
            // A cut name keeps the heat name's start up to a whole character.
            const size_t kept = name.rfind('~');
            ASSERT_NE(kept, std::string::npos);
            EXPECT_EQ(c.name.compare(0, kept, name, 0, kept), 0);
            EXPECT_NE(static_cast<uint8_t>(c.name[kept]) & 0xC0, 0x80);
        }

        std::vector<std::string> opened;
        Binary_file::Set_Fault_Hook([&](Op op, const std::string& file, int64_t, int64_t) {
            if (op == Op::open_for_writing) opened.push_back(file);
            return Fault{};
        });
        cls_VideoFile_handler review;
        review.File_name(heat);
        review.Open_RGB_File();
        review.Header().File_comment1("rewritten");
        review.Write_KD3_header();
        review.Close_File();
        Binary_file::Set_Fault_Hook(nullptr);
        EXPECT_NE(std::find(opened.begin(), opened.end(), journal), opened.end());
        EXPECT_FALSE(Header_journal::Exists(heat));
        EXPECT_EQ(Log_Text().find("The header journal cannot be made"), std::string::npos);

        // A crash during the next rewrite: the journal holds the header, the file a torn one.
        const std::vector<uint8_t> before = File_Bytes(heat);
        kd3::Header_Bytes good;
        std::copy_n(before.begin(), kd3::Header_Length, good.begin());
        Header_journal::Keep(heat, good);
        std::vector<uint8_t> torn = before;
        std::fill(torn.begin() + 200, torn.begin() + 20000, uint8_t{0});
        {
            std::ofstream out(heat, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(torn.data()), static_cast<std::streamsize>(torn.size()));
        }
        ASSERT_TRUE(std::filesystem::exists(journal));
        Expect_Every_Frame(heat, 10);
        EXPECT_EQ(File_Bytes(heat), before);
        EXPECT_FALSE(std::filesystem::exists(journal));
        EXPECT_NE(Log_Text().find("the header is restored from the journal: " + heat), std::string::npos);

        // Another heat's journal beside it is set aside under a name the folder takes.
        Header_journal::Keep(heat, good);
        const std::string aside = Header_journal::Set_Aside(heat);
        EXPECT_TRUE(std::filesystem::exists(aside));
        EXPECT_LE(std::filesystem::path(aside).filename().string().size(), 255u);
        EXPECT_FALSE(Header_journal::Exists(heat));
    }
    EXPECT_TRUE(reports.empty());
}

// A whole journal that is not the heat's own (another heat's, copied beside it; a record that is no
// header; a header of other frame records) is set aside and told: the heat keeps its header.
TEST_F(Store_damage, a_journal_that_is_not_the_heats_is_set_aside_and_the_heat_keeps_its_header) {
    cls_VideoFile_handler maker;
    const std::string other = Path("other.kd3");
    Make_Heat_File(maker, other, W, H, N);
    Append_Segment(maker, other, 1, 3, W, H);
    const std::string wide = Path("wide.kd3");
    Make_Heat_File(maker, wide, W, H, N + 1000);
    Append_Segment(maker, wide, 1, 3, W, H);
    auto record_of = [](const std::string& heat) {
        std::vector<uint8_t> bytes = File_Bytes(heat);
        kd3::Header_Bytes record;
        std::copy_n(bytes.begin(), kd3::Header_Length, record.begin());
        return record;
    };
    kd3::Header_Bytes not_a_header;
    not_a_header.fill('x');
    struct Case {
        const char* what;
        std::function<void()> leave_journal;
        const char* reason;
    } cases[] = {
        {"another heat's journal copied beside it",
         [&] {
             Header_journal::Keep(other, record_of(other));
             std::filesystem::rename(Header_journal::Path_Of(other), Header_journal::Path_Of(path));
         },
         "it was kept for other.kd3"},
        {"a record that is no header", [&] { Header_journal::Keep(path, not_a_header); },
         "it holds no header that parses"},
        {"a header of other frame records", [&] { Header_journal::Keep(path, record_of(wide)); },
         "its header's frame records are not the heat's"},
    };
    const std::vector<uint8_t> before = File_Bytes(path);
    int set_aside = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.leave_journal();
        Test_dialogs::Instance().Reset();
        Test_dialogs::Instance().Answer(ui::vbOK);
        Expect_Every_Frame(path, 10);
        EXPECT_EQ(File_Bytes(path), before);
        EXPECT_FALSE(Header_journal::Exists(path));
        const std::string kept = Header_journal::Path_Of(path) + "-set-aside" +
                                 (++set_aside > 1 ? "-" + std::to_string(set_aside) : std::string());
        EXPECT_TRUE(std::filesystem::exists(kept));
        ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
        const std::string told = Test_dialogs::Instance().Shown_Prompts()[0];
        EXPECT_EQ(told.rfind("The header journal beside " + path + " is not this heat's (" + c.reason, 0), 0u) << told;
        EXPECT_NE(told.find("it is kept as " + kept + ". The heat keeps its own header."), std::string::npos) << told;
        EXPECT_NE(Log_Text().find(told), std::string::npos);
    }
    EXPECT_TRUE(reports.empty());
}

// An opening that fails half way (the journal it finds cannot be put back, a header it cannot take)
// leaves the store holding no file and a header nothing may save: a later save through it writes nothing
// into the heat, least of all the header of the heat the store held before, and a journal not put back
// stays as it is.
TEST_F(Store_damage, an_opening_that_fails_half_way_leaves_nothing_a_later_save_could_write) {
    cls_VideoFile_handler maker;
    const std::string other = Path("other.kd3");
    Make_Heat_File(maker, other, W, H, N);
    Append_Segment(maker, other, 1, 3, W, H);
    maker.File_name(other);
    maker.Open_RGB_File();
    maker.Subject_name("OTHER HEAT");
    maker.Write_KD3_header();
    maker.Close_File();
    Edit_Header([](Cls_XML_header& h) { h.Subject_name("OWN HEAT"); });
    const std::vector<uint8_t> whole = File_Bytes(path);
    const std::string journal = Header_journal::Path_Of(path);
    const auto keep_journal = [&] {
        kd3::Header_Bytes record;
        std::copy_n(whole.begin(), kd3::Header_Length, record.begin());
        Header_journal::Keep(path, record);
    };
    const auto text_length = [&](int32_t length) {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(8);
        f.write(reinterpret_cast<const char*>(&length), 4);
    };
    struct Case {
        const char* what;
        std::function<void()> damage;
        Op op;  // the operation on `file` that fails while the heat is opened
        std::string file;
        int32_t error;  // reported by the opening
        bool own_header_read = false;  // the failure came after the heat's own header was read
    } cases[] = {
        {"the journal's record cannot be written back", keep_journal, Op::write, path, vb::Err_Path_File_Access},
        {"the journal's record cannot be made durable", keep_journal, Op::sync, path, vb::Err_Path_File_Access},
        {"the journal cannot be removed", keep_journal, Op::remove, journal, vb::Err_Path_File_Access},
        {"the JPEG quality is beyond a 16-bit number",
         [&] { Edit_Header([](Cls_XML_header& h) { h.RGB_JPEG_Quality("99999"); }); }, Op::write, "",
         vb::Err_Overflow, true},
        {"the header record gives a negative text length", [&] { text_length(-1); }, Op::write, "", vb::Err_Subscript},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(whole.data()), static_cast<std::streamsize>(whole.size()));
        }
        reports.clear();
        c.damage();
        const std::vector<uint8_t> before = File_Bytes(path), journal_before = File_Bytes(journal);
        cls_VideoFile_handler review;
        ASSERT_TRUE(review.Open_File(other, 0));
        Binary_file::Set_Fault_Hook([&](Op op, const std::string& file, int64_t, int64_t) {
            return op == c.op && file == c.file ? Fault{0, EIO} : Fault{};
        });
        EXPECT_FALSE(review.Open_File(path, 0));
        EXPECT_FALSE(review.File_open());
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].number, c.error);
        if (!c.own_header_read) EXPECT_FALSE(review.is_Vantorel());
        EXPECT_EQ(File_Bytes(journal), journal_before);
        // A result saved through the same store once the disk is well again.
        Binary_file::Set_Fault_Hook(nullptr);
        Error_Of([&] { review.Write_KD3_header(); });
        Error_Of([&] { review.Write_XML_Header(); });
        review.Close_File();
        if (c.own_header_read) {
            // Its own header may be saved back, never the other heat's.
            cls_VideoFile_handler reader;
            reader.File_name(path);
            reader.Open_RGB_File();
            EXPECT_EQ(reader.Subject_name(), "OWN HEAT");
            continue;
        }
        EXPECT_EQ(File_Bytes(path), before);
        if (journal_before.empty()) continue;
        // With the disk well again the journal is put back and the heat is whole, with its own header.
        cls_VideoFile_handler reader;
        reader.File_name(path);
        reader.Open_RGB_File();
        ASSERT_TRUE(reader.File_open());
        EXPECT_EQ(reader.Subject_name(), "OWN HEAT");
        EXPECT_EQ(reader.Num_Frames(), 10);
        EXPECT_FALSE(Header_journal::Exists(path));
        reader.Close_File();
    }
}

// A folder where no file can be made (the journal's) still takes every result: the header is rewritten
// without the journal, the log says so, and the operator is told once.
TEST_F(Store_damage, a_folder_that_refuses_the_journal_still_takes_every_header_rewrite) {
    Binary_file::Set_Fault_Hook([&](Op op, const std::string& file, int64_t, int64_t) {
        return op == Op::open_for_writing && file == Header_journal::Path_Of(path) ? Fault{0, EACCES} : Fault{};
    });
    Test_dialogs::Instance().Answer(ui::vbOK);
    for (const char* comment : {"first result", "second result", "third result"}) {
        SCOPED_TRACE(comment);
        EXPECT_EQ(Error_Of([&] { Edit_Header([&](Cls_XML_header& h) { h.File_comment1(comment); }); }), 0);
        cls_VideoFile_handler reader;
        reader.File_name(path);
        reader.Open_RGB_File();
        EXPECT_EQ(reader.Header().File_comment1(), comment);
        EXPECT_FALSE(Header_journal::Exists(path));
    }
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts()[0].rfind("No new file can be made in the folder " + Test_folder(), 0),
              0u);
    EXPECT_NE(Log_Text().find("the header is rewritten without it: " + path), std::string::npos);
    Binary_file::Set_Fault_Hook(nullptr);
    Expect_Every_Frame(path, 10);
}
