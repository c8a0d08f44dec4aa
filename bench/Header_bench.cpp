// The header is built, parsed and serialised whole once per open, segment close or result entry.
#include "header/Cls_XML_header.h"
#include "platform/vb/Code_page.h"
#include "shell/Module_Vantorel.h"

#include <benchmark/benchmark.h>

namespace {

// The file's single-byte header text back to the text in memory.
inline std::string Bytes_To_Text(const std::string& bytes) {
    return vb::Ansi_To_Utf8({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

std::string Full_Header() {
    Module_Vantorel::Vantorel_Mode = true;
    Cls_XML_header h;
    h.rgb(true);
    h.Create_Header();
    return h.XML_string();
}

void Create_header(benchmark::State& state) {
    Module_Vantorel::Vantorel_Mode = true;
    Cls_XML_header h;
    h.rgb(true);
    for (auto _ : state) {
        h.Create_Header();
        benchmark::DoNotOptimize(h.XML_string());
    }
}
BENCHMARK(Create_header);

void Parse_header(benchmark::State& state) {
    std::string text = Full_Header();
    Cls_XML_header h;
    for (auto _ : state) benchmark::DoNotOptimize(h.XML_string(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(Parse_header);

void Serialise_header(benchmark::State& state) {
    Cls_XML_header h;
    h.XML_string(Full_Header());
    for (auto _ : state) benchmark::DoNotOptimize(h.XML_string());
}
BENCHMARK(Serialise_header);

// What a header write does: serialise and convert to the file's bytes; and back on open.
void File_round_trip(benchmark::State& state) {
    Cls_XML_header h;
    h.XML_string(Full_Header());
    for (auto _ : state) {
        std::string bytes = vb::Utf8_To_Ansi(h.XML_string());
        benchmark::DoNotOptimize(h.XML_string(Bytes_To_Text(bytes)));
    }
}
BENCHMARK(File_round_trip);

void One_accessor(benchmark::State& state) {
    Cls_XML_header h;
    h.XML_string(Full_Header());
    for (auto _ : state) benchmark::DoNotOptimize(h.Selection_end(2));
}
BENCHMARK(One_accessor);

}  // namespace
