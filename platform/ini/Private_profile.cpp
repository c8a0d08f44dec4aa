#include "Private_profile.h"

#include "platform/vb/Vb_text.h"

#include "platform/fs/File_system.h"
#include "platform/vb/Program_state.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ini {

namespace {

thread_local int32_t last_error = 0;

bool Is_Space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && Is_Space(s[b])) ++b;
    while (e > b && Is_Space(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// One line of the file, kept byte for byte with its own line end.
struct Line {
    std::string text;  // without the line end
    std::string end;   // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> Split_Lines(const std::string& content) {
    std::vector<Line> lines;
    size_t from = 0;
    while (from < content.size()) {
        size_t nl = content.find('\n', from);
        if (nl == std::string::npos) {
            lines.push_back({content.substr(from), ""});
            break;
        }
        size_t text_end = nl > from && content[nl - 1] == '\r' ? nl - 1 : nl;
        lines.push_back({content.substr(from, text_end - from), content.substr(text_end, nl + 1 - text_end)});
        from = nl + 1;
    }
    return lines;
}

// The section name of a "[name]" line. A file saved by an editor that marks it as UTF-8 starts with the
// byte-order mark: its first section is still a section, and is kept byte for byte.
std::optional<std::string_view> Section_Of(std::string_view line) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (line.starts_with(bom)) line.remove_prefix(bom.size());
    std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    std::string_view name = t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    return Trim(name);
}

// The key of a "key=value" line.
std::optional<std::string_view> Key_Of(std::string_view line, std::string_view* value = nullptr) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    if (value) *value = Trim(line.substr(eq + 1));
    return Trim(line.substr(0, eq));
}

// The file as last read or written here. It is read again only when the file on disk is no longer the
// one kept (another program wrote it): start-up reads dozens of keys, and each must not read and split
// the whole file again.
struct Kept_File {
    struct stat identity {};
    std::string content;
    std::vector<Line> lines;
};

std::mutex kept_guard;
std::map<std::string, Kept_File> kept;

[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    std::lock_guard lock(kept_guard);
    kept.clear();
});

bool Same_File(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

enum class Read_Result { ok, missing, failed };

Read_Result Read_File(const std::string& path, std::string& content, struct stat& identity) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? Read_Result::missing : Read_Result::failed;
    if (fstat(fd, &identity) != 0) {
        int err = errno;
        close(fd);
        errno = err;
        return Read_Result::failed;
    }
    char buf[65536];
    while (true) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            close(fd);
            errno = err;
            return Read_Result::failed;
        }
        content.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return Read_Result::ok;
}

// The kept copy of `path`, read now when there is none or the file changed. Call with kept_guard held.
Read_Result Load(const std::string& path, const Kept_File*& file) {
    struct stat now {};
    if (stat(path.c_str(), &now) != 0) {
        int err = errno;
        kept.erase(path);
        errno = err;
        return err == ENOENT ? Read_Result::missing : Read_Result::failed;
    }
    auto at = kept.find(path);
    if (at != kept.end() && Same_File(at->second.identity, now)) {
        file = &at->second;
        return Read_Result::ok;
    }
    Kept_File fresh;
    Read_Result result = Read_File(path, fresh.content, fresh.identity);
    if (result != Read_Result::ok) {
        int err = errno;
        kept.erase(path);
        errno = err;
        return result;
    }
    fresh.lines = Split_Lines(fresh.content);
    file = &(kept[path] = std::move(fresh));
    return Read_Result::ok;
}

// Cuts `s` to at most `chars` UTF-8 characters.
size_t Cut_Characters(std::string& s, int32_t chars) {
    size_t i = 0;
    int32_t n = 0;
    while (i < s.size() && n < chars) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        ++n;
    }
    s.resize(i);
    return static_cast<size_t>(n);
}

}  // namespace

int32_t Get_Private_Profile_String(std::string_view section, std::string_view key, std::string_view default_value,
                                   int32_t buffer_size, std::string& out, const std::string& path) {
    out.assign(default_value);
    std::lock_guard lock(kept_guard);
    const Kept_File* file = nullptr;
    if (Load(path, file) == Read_Result::ok) {
        bool in_section = false;
        for (const Line& line : file->lines) {
            if (auto name = Section_Of(line.text)) {
                if (in_section) break;  // only the first section of that name counts
                in_section = vb::Same_Text(*name, section);
                continue;
            }
            std::string_view value;
            if (auto k = Key_Of(line.text, &value); in_section && k && vb::Same_Text(*k, key)) {
                out.assign(value);
                break;
            }
        }
    }
    if (buffer_size <= 0) {
        out.clear();
        return 0;
    }
    return static_cast<int32_t>(Cut_Characters(out, buffer_size - 1));
}

int32_t Write_Private_Profile_String(std::string_view section, std::string_view key,
                                     std::optional<std::string_view> value, const std::string& path) {
    last_error = 0;
    // A line end in any of them, an "=" in the key or a "]" in the section would write lines that
    // read back as other keys or sections.
    auto breaks_line = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    if (breaks_line(section) || breaks_line(key) || (value && breaks_line(*value)) ||
        key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos) {
        last_error = EINVAL;
        return 0;
    }
    std::lock_guard lock(kept_guard);
    const Kept_File* file = nullptr;
    switch (Load(path, file)) {
    case Read_Result::failed: last_error = errno ? errno : EIO; return 0;
    case Read_Result::missing:
        if (!value) return 1;  // nothing to remove
        break;
    case Read_Result::ok: break;
    }
    const std::string content = file ? file->content : std::string();
    std::vector<Line> lines = file ? file->lines : std::vector<Line>();
    const std::string eol = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::string entry = std::string(key) + "=" + std::string(value.value_or(""));

    size_t section_at = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = Section_Of(lines[i].text);
        if (name && vb::Same_Text(*name, section)) {
            section_at = i;
            break;
        }
    }
    if (section_at == lines.size()) {
        if (!value) return 1;
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
        lines.push_back({"[" + std::string(section) + "]", eol});
        lines.push_back({entry, eol});
    } else {
        size_t last_content = section_at;  // where a new key goes: after the section's last line of text
        size_t i = section_at + 1;
        bool done = false;
        for (; i < lines.size() && !Section_Of(lines[i].text); ++i) {
            if (!Trim(lines[i].text).empty()) last_content = i;
            std::string_view now;
            auto k = Key_Of(lines[i].text, &now);
            if (k && vb::Same_Text(*k, key)) {
                if (value && now == *value) return 1;  // the value it already has: nothing to write
                if (value) lines[i].text = entry;
                else lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                done = true;
                break;
            }
        }
        if (!done) {
            if (!value) return 1;
            if (lines[last_content].end.empty()) lines[last_content].end = eol;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last_content + 1), Line{entry, eol});
        }
    }
    std::string out;
    out.reserve(content.size() + entry.size() + 64);
    for (const Line& l : lines) out += l.text + l.end;
    // Replaced in one step, so a failed write leaves the old file whole.
    last_error = fs::Write_File_Atomic(path, out);
    if (last_error != 0) return 0;
    Kept_File written;
    if (stat(path.c_str(), &written.identity) == 0) {
        written.content = std::move(out);
        written.lines = std::move(lines);
        kept[path] = std::move(written);
    } else {
        kept.erase(path);
    }
    return 1;
}

int32_t Last_Error() { return last_error; }

}  // namespace ini
