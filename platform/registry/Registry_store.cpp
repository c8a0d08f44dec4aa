#include "Registry_store.h"

#include "platform/vb/Vb_text.h"

#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

// The store file, UTF-8 text with LF line ends:
//
//   Vantorel registry store 1
//   K <TAB> root <TAB> key path
//   V <TAB> type <TAB> value name <TAB> data
//
// The first line names the format. A "K" line opens a key (root as 8 hexadecimal digits, for example
// 80000001; the path below the root with "\" between its parts); the "V" lines after it are that key's
// values (type as a decimal number, the empty name for the default value, data as lower-case
// hexadecimal bytes, exactly as written, so texts carry their terminating zero). In paths and names
// "%", tab, CR, LF and other control characters are written as "%" and two hexadecimal digits. A file
// that breaks these rules is left as it is and every call answers Store_Damaged; one that cannot be
// read to its end is left as it is and every call answers Access_Denied.

namespace registry {

namespace {

struct Value {
    std::string name;
    int32_t type = REG_NONE;
    std::vector<uint8_t> data;
};

struct Key {
    Root root = 0;
    std::string path;
    std::vector<Value> values;
};

constexpr const char* Format_Line = "Vantorel registry store 1";

// "a\\b\" and "a\b" address the same key; the root itself is "".
std::string Normal_Path(const std::string& path) {
    std::string out, part;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            if (!part.empty()) out += (out.empty() ? "" : "\\") + part;
            part.clear();
        } else {
            part += path[i];
        }
    }
    return out;
}

std::string Parent_Of(const std::string& path) {
    size_t cut = path.rfind('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool Is_Known_Root(Root root) {
    return root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE ||
           root == HKEY_USERS || root == HKEY_DYN_DATA;
}

// ---- the computed keys ----

struct Computed_Key {
    Root root;
    const char* path;
    const char* value;  // its one value, or nullptr
};

constexpr const char* Processor_Key = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
constexpr const char* Usage_Key = "PerfStats\\StatData";

const Computed_Key Computed[] = {
    {HKEY_LOCAL_MACHINE, "HARDWARE", nullptr},
    {HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION", nullptr},
    {HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System", nullptr},
    {HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor", nullptr},
    {HKEY_LOCAL_MACHINE, Processor_Key, "~MHz"},
    {HKEY_DYN_DATA, "PerfStats", nullptr},
    {HKEY_DYN_DATA, Usage_Key, "KERNEL\\CPUUsage"},
};

const Computed_Key* Find_Computed(Root root, const std::string& path) {
    for (const Computed_Key& k : Computed)
        if (k.root == root && vb::Same_Text(k.path, path)) return &k;
    return nullptr;
}

// Keys the program may not write: all of the dynamic data, and the hardware description.
bool Is_Read_Only(Root root, const std::string& path) {
    if (root == HKEY_DYN_DATA) return true;
    std::string lower = vb::LCase(path);
    return root == HKEY_LOCAL_MACHINE && (lower == "hardware" || lower.rfind("hardware\\", 0) == 0);
}

std::optional<int32_t> Processor_MHz() {
    std::ifstream info("/proc/cpuinfo");
    std::string line;
    while (std::getline(info, line)) {
        if (line.rfind("cpu MHz", 0) != 0) continue;
        size_t colon = line.find(':');
        if (colon == std::string::npos) break;
        double mhz = std::strtod(line.c_str() + colon + 1, nullptr);
        if (mhz > 0) return static_cast<int32_t>(std::lround(mhz));
        break;
    }
    std::ifstream max_freq("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    long khz = 0;
    if (max_freq >> khz && khz > 0) return static_cast<int32_t>((khz + 500) / 1000);
    return std::nullopt;
}

struct Cpu_Sample {
    uint64_t busy = 0, total = 0;
    int32_t tick = 0;
};

std::optional<Cpu_Sample> Read_Cpu_Sample() {
    std::ifstream stat("/proc/stat");
    std::string cpu;
    if (!(stat >> cpu) || cpu != "cpu") return std::nullopt;
    Cpu_Sample s;
    uint64_t field = 0, idle = 0;
    for (int i = 0; i < 8 && stat >> field; ++i) {  // user nice system idle iowait irq softirq steal
        s.total += field;
        if (i == 3 || i == 4) idle += field;
    }
    if (s.total == 0) return std::nullopt;
    s.busy = s.total - idle;
    s.tick = sys::timeGetTime();
    return s;
}

std::optional<int32_t> Processor_Usage() {
    static std::optional<Cpu_Sample> previous;
    constexpr int32_t Min_Interval = 100;
    if (!previous || sys::Tick_Diff(sys::timeGetTime(), previous->tick) < Min_Interval) {
        if (!previous) previous = Read_Cpu_Sample();
        if (!previous) return std::nullopt;
        int32_t waited = sys::Tick_Diff(sys::timeGetTime(), previous->tick);
        sys::Sleep(Min_Interval - std::max(0, waited));
    }
    std::optional<Cpu_Sample> now = Read_Cpu_Sample();
    if (!now) return std::nullopt;
    uint64_t total = now->total - previous->total, busy = now->busy - previous->busy;
    previous = now;
    if (total == 0 || busy > total) return 0;
    return static_cast<int32_t>((busy * 100 + total / 2) / total);
}

// ---- the file ----

std::string Escape(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7F || c == '%') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int Hex_Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size()) return std::nullopt;
        int hi = Hex_Digit(s[i + 1]), lo = Hex_Digit(s[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::optional<std::vector<uint8_t>> From_Hex(const std::string& s) {
    if (s.size() % 2) return std::nullopt;
    std::vector<uint8_t> out;
    for (size_t i = 0; i < s.size(); i += 2) {
        int hi = Hex_Digit(s[i]), lo = Hex_Digit(s[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return out;
}

// Exactly 8 hexadecimal digits.
std::optional<Root> Root_Of(const std::string& s) {
    if (s.size() != 8) return std::nullopt;
    Root root = 0;
    for (char c : s) {
        int d = Hex_Digit(c);
        if (d < 0) return std::nullopt;
        root = root << 4 | static_cast<Root>(d);
    }
    return root;
}

// A decimal number that fits 32 bits, as Save writes it: digits with an optional "-" before them.
std::optional<int32_t> Type_Of(const std::string& s) {
    size_t i = !s.empty() && s[0] == '-' ? 1 : 0;
    if (i == s.size() || s.size() - i > 10) return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
    }
    if (s[0] == '-') v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(v);
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    size_t from = 0;
    while (true) {
        size_t tab = line.find('\t', from);
        out.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        if (tab == std::string::npos) return out;
        from = tab + 1;
    }
}

struct Model {
    std::vector<Key> keys;

    Key* Find(Root root, const std::string& path) {
        for (Key& k : keys)
            if (k.root == root && vb::Same_Text(k.path, path)) return &k;
        return nullptr;
    }
};

// Ok with the model, Ok with an empty model for a missing file, or the reason it cannot be used.
int32_t Load(const std::string& file, Model& model) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::error_code ec;
        bool exists = std::filesystem::exists(file, ec);
        return exists || ec ? Access_Denied : Ok;
    }
    std::string line;
    if (!std::getline(in, line) || line != Format_Line) return Store_Damaged;
    Key* current = nullptr;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::vector<std::string> f = Fields(line);
        if (f[0] == "K" && f.size() == 3) {
            auto path = Unescape(f[2]);
            auto root = Root_Of(f[1]);
            if (!path || !root) return Store_Damaged;
            model.keys.push_back({*root, *path, {}});
            current = &model.keys.back();
        } else if (f[0] == "V" && f.size() == 4 && current) {
            auto name = Unescape(f[2]);
            auto data = From_Hex(f[3]);
            auto type = Type_Of(f[1]);
            if (!name || !data || !type) return Store_Damaged;
            current->values.push_back({*name, *type, std::move(*data)});
        } else {
            return Store_Damaged;
        }
    }
    // A read that failed part way leaves a model that lacks the rest of the file: it is not used, so a
    // write can never replace the file with that part.
    return in.bad() ? Access_Denied : Ok;
}

int32_t Save(const std::string& file, const Model& model) {
    std::ostringstream out;
    out << Format_Line << '\n';
    for (const Key& k : model.keys) {
        char root[16];
        std::snprintf(root, sizeof root, "%08X", k.root);
        out << "K\t" << root << '\t' << Escape(k.path) << '\n';
        for (const Value& v : k.values) {
            out << "V\t" << v.type << '\t' << Escape(v.name) << '\t';
            for (uint8_t b : v.data) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02x", b);
                out << hex;
            }
            out << '\n';
        }
    }
    std::error_code ec;
    std::filesystem::path parent = std::filesystem::path(file).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    return fs::Write_File_Atomic(file, out.str()) == 0 ? Ok : Write_Failed;
}

}  // namespace

std::string Result_Text(int32_t code) {
    switch (code) {
    case Ok: return "The operation completed.";
    case Not_Found: return "The key or value does not exist.";
    case Access_Denied: return "Access to the key or to the registry store is refused.";
    case Invalid_Data: return "The value's data does not suit its type.";
    case Bad_Net_Path: return "Another computer's registry cannot be reached.";
    case Invalid_Parameter: return "The root key or an argument is not valid.";
    case More_Data: return "More data is available.";
    case No_More_Items: return "No more items are available.";
    case Store_Damaged: return "The registry store is damaged.";
    case Write_Failed: return "The registry store could not be written.";
    default: return "";
    }
}

std::vector<uint8_t> Dword_Bytes(int32_t value) {
    auto u = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}

int32_t Dword_Of(const std::vector<uint8_t>& data) {
    uint32_t u = 0;
    for (size_t i = 0; i < 4 && i < data.size(); ++i) u |= static_cast<uint32_t>(data[i]) << (8 * i);
    return static_cast<int32_t>(u);
}

Registry_store::Registry_store(std::string file) : file_(std::move(file)) {}

int32_t Registry_store::Connect(const std::string& machine) const { return machine.empty() ? Ok : Bad_Net_Path; }

int32_t Registry_store::Open_Key(Root root, const std::string& path) const {
    if (!Is_Known_Root(root)) return Invalid_Parameter;
    std::string p = Normal_Path(path);
    if (p.empty() || Find_Computed(root, p)) return Ok;
    if (root == HKEY_DYN_DATA) return Not_Found;
    Model model;
    if (int32_t r = Load(file_, model)) return r;
    return model.Find(root, p) ? Ok : Not_Found;
}

int32_t Registry_store::Create_Key(Root root, const std::string& path) {
    if (!Is_Known_Root(root)) return Invalid_Parameter;
    std::string p = Normal_Path(path);
    if (p.empty() || Find_Computed(root, p)) return Ok;
    if (Is_Read_Only(root, p)) return Access_Denied;
    Model model;
    if (int32_t r = Load(file_, model)) return r;
    if (model.Find(root, p)) return Ok;
    std::vector<std::string> missing;
    for (std::string k = p; !k.empty() && !model.Find(root, k); k = Parent_Of(k)) missing.push_back(k);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) model.keys.push_back({root, *it, {}});
    return Save(file_, model);
}

int32_t Registry_store::Delete_Key(Root root, const std::string& path) {
    if (!Is_Known_Root(root)) return Invalid_Parameter;
    std::string p = Normal_Path(path);
    if (p.empty() || Is_Read_Only(root, p)) return Access_Denied;
    Model model;
    if (int32_t r = Load(file_, model)) return r;
    Key* key = model.Find(root, p);
    if (!key) return Not_Found;
    std::string prefix = vb::LCase(p) + "\\";
    for (const Key& k : model.keys)
        if (k.root == root && vb::LCase(k.path).rfind(prefix, 0) == 0) return Access_Denied;
    model.keys.erase(model.keys.begin() + (key - model.keys.data()));
    return Save(file_, model);
}

int32_t Registry_store::Query_Value(Root root, const std::string& path, const std::string& name, int32_t& type,
                                    std::vector<uint8_t>& data) const {
    if (!Is_Known_Root(root)) return Invalid_Parameter;
    std::string p = Normal_Path(path);
    if (const Computed_Key* k = Find_Computed(root, p)) {
        std::optional<int32_t> answer;
        if (k->value && vb::Same_Text(k->value, name))
            answer = vb::Same_Text(p, Processor_Key) ? Processor_MHz() : Processor_Usage();
        if (!answer) return Not_Found;
        type = REG_DWORD;
        data = Dword_Bytes(*answer);
        return Ok;
    }
    if (root == HKEY_DYN_DATA) return Not_Found;
    Model model;
    if (int32_t r = Load(file_, model)) return r;
    Key* key = model.Find(root, p);
    if (!key) return Not_Found;
    for (const Value& v : key->values)
        if (vb::Same_Text(v.name, name)) {
            type = v.type;
            data = v.data;
            return Ok;
        }
    return Not_Found;
}

int32_t Registry_store::Set_Value(Root root, const std::string& path, const std::string& name, int32_t type,
                                  const std::vector<uint8_t>& data) {
    if (!Is_Known_Root(root)) return Invalid_Parameter;
    std::string p = Normal_Path(path);
    if (Is_Read_Only(root, p)) return Access_Denied;
    Model model;
    if (int32_t r = Load(file_, model)) return r;
    Key* key = model.Find(root, p);
    if (!key && p.empty()) {
        model.keys.push_back({root, "", {}});
        key = &model.keys.back();
    }
    if (!key) return Not_Found;
    auto v = std::find_if(key->values.begin(), key->values.end(),
                          [&](const Value& x) { return vb::Same_Text(x.name, name); });
    if (v == key->values.end()) key->values.push_back({name, type, data});
    else {
        v->type = type;
        v->data = data;
    }
    return Save(file_, model);
}

int32_t Registry_store::Delete_Value(Root root, const std::string& path, const std::string& name) {
    if (!Is_Known_Root(root)) return Invalid_Parameter;
    std::string p = Normal_Path(path);
    if (Is_Read_Only(root, p)) return Access_Denied;
    Model model;
    if (int32_t r = Load(file_, model)) return r;
    Key* key = model.Find(root, p);
    if (!key) return Not_Found;
    auto v = std::find_if(key->values.begin(), key->values.end(),
                          [&](const Value& x) { return vb::Same_Text(x.name, name); });
    if (v == key->values.end()) return Not_Found;
    key->values.erase(v);
    return Save(file_, model);
}

int32_t Registry_store::Value_Names(Root root, const std::string& path, std::vector<std::string>& names) const {
    names.clear();
    if (!Is_Known_Root(root)) return Invalid_Parameter;
    std::string p = Normal_Path(path);
    if (const Computed_Key* k = Find_Computed(root, p)) {
        if (k->value) names.push_back(k->value);
        return Ok;
    }
    if (root == HKEY_DYN_DATA) return Not_Found;
    Model model;
    if (int32_t r = Load(file_, model)) return r;
    Key* key = model.Find(root, p);
    if (!key) return p.empty() ? Ok : Not_Found;
    for (const Value& v : key->values) names.push_back(v.name);
    return Ok;
}

int32_t Registry_store::Subkey_Names(Root root, const std::string& path, std::vector<std::string>& names) const {
    names.clear();
    if (!Is_Known_Root(root)) return Invalid_Parameter;
    std::string p = Normal_Path(path);
    bool found = p.empty();
    auto add_child = [&](const std::string& key_path) {
        if (!vb::Same_Text(Parent_Of(key_path), p) || key_path.empty()) return;
        std::string child = key_path.substr(p.empty() ? 0 : p.size() + 1);
        for (const std::string& n : names)
            if (vb::Same_Text(n, child)) return;
        names.push_back(child);
    };
    for (const Computed_Key& k : Computed) {
        if (k.root != root) continue;
        if (vb::Same_Text(k.path, p)) found = true;
        add_child(k.path);
    }
    if (root != HKEY_DYN_DATA) {
        Model model;
        if (int32_t r = Load(file_, model)) return r;
        for (const Key& k : model.keys) {
            if (k.root != root) continue;
            if (vb::Same_Text(k.path, p)) found = true;
            add_child(k.path);
        }
    }
    if (!found) return Not_Found;
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return vb::LCase(a) < vb::LCase(b); });
    return Ok;
}

}  // namespace registry
