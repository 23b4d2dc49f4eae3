// Loading a long capture (20 channels x 500,000 samples) into a review
// document, beside the document reader alone and a plain sequential read of
// the same file, all in the same run.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/vxmlog_doc.h"
#include "common/core/vxm_document_reader.h"
#include "common/core/vxm_document_writer.h"

namespace {

constexpr std::size_t kChannels = 20;
constexpr std::size_t kSamples = 500'000;
constexpr const char* kRateCounter = "MB/s";

std::string g_path;
double g_megabytes = 0.0;

bool generate_document() {
    korv::VxmDocument doc;
    doc.title = "Bench";
    for (std::size_t c = 0; c < kChannels; ++c) {
        korv::VxmChannel ch;
        ch.id = static_cast<std::int32_t>(c);
        ch.max = 100.0f;
        ch.label = "Channel " + std::to_string(c);
        doc.channels.push_back(ch);
    }
    doc.samples.reset(kChannels);
    doc.samples.reserve(kSamples);
    std::vector<float> values(kChannels);
    for (std::size_t s = 0; s < kSamples; ++s) {
        for (std::size_t c = 0; c < kChannels; ++c) values[c] = static_cast<float>((s * 7 + c * 131) % 9000) * 0.37f;
        doc.samples.append(static_cast<float>(s) * 0.05f, values);
    }
    if (auto error = korv::write_vxm_document(g_path, doc)) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return false;
    }
    g_megabytes = static_cast<double>(std::filesystem::file_size(g_path)) / 1e6;
    return true;
}

void BM_PlainRead(benchmark::State& state) {
    const int fd = ::open(g_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        state.SkipWithError("cannot open the document");
        return;
    }
    std::vector<char> buffer(std::size_t{1} << 20);
    for (auto _ : state) {
        ::lseek(fd, 0, SEEK_SET);
        long long total = 0;
        ssize_t got = 0;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) total += got;
        benchmark::DoNotOptimize(total);
    }
    ::close(fd);
    korv::bench::set_rate(state, kRateCounter, g_megabytes);
}

void BM_DocumentReader(benchmark::State& state) {
    for (auto _ : state) {
        korv::VxmDocumentReadResult read = korv::read_vxm_document(g_path);
        if (!read.document) {
            state.SkipWithError(read.error.c_str());
            return;
        }
        benchmark::DoNotOptimize(read.document->samples.all_values().data());
    }
    korv::bench::set_rate(state, kRateCounter, g_megabytes);
}

void BM_ReviewDocumentLoad(benchmark::State& state) {
    korv::boxlogger::ResetChannelTable();
    for (auto _ : state) {
        korv::boxlogger::CVXMlogDoc doc(korv::boxlogger::DocumentPrompts{});
        if (auto error = doc.Load(g_path)) {
            state.SkipWithError(error->c_str());
            return;
        }
        benchmark::DoNotOptimize(doc.samples().size());
    }
    korv::bench::set_rate(state, kRateCounter, g_megabytes);
}

// The load and the reader alone take turns (their repetitions interleave).
BENCHMARK(BM_PlainRead)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_DocumentReader)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ReviewDocumentLoad)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    if (!korv::bench::initialize_taking_turns(argc, argv)) return 1;
    g_path =
        (std::filesystem::temp_directory_path() / ("vxm_document_load_bench_" + std::to_string(::getpid()) + ".vxg"))
            .string();
    std::printf("writing %zu samples of %zu channels to %s\n", kSamples, kChannels, g_path.c_str());
    if (!generate_document()) return 1;

    korv::bench::CounterKeeper reporter(kRateCounter);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::filesystem::remove(g_path);

    const auto doc = reporter.figure("BM_ReviewDocumentLoad/repeats:5/real_time");
    const auto codec = reporter.figure("BM_DocumentReader/repeats:5/real_time");
    const auto plain = reporter.figure("BM_PlainRead/repeats:5/real_time");
    // Rates: the load's time over the reader's is the reader's rate over the load's.
    const auto load_ratio =
        reporter.ratio("BM_DocumentReader/repeats:5/real_time", "BM_ReviewDocumentLoad/repeats:5/real_time");
    if (doc && codec && plain && load_ratio) {
        std::printf(
            "%.1f MB: document load %.0f MB/s, reader alone %.0f MB/s, plain read %.0f MB/s; "
            "load takes %.2f x the reader (target at most 1.30)\n",
            g_megabytes, *doc, *codec, *plain, *load_ratio);
    }
    benchmark::Shutdown();
    korv::bench::print_figure("vxg_load_over_reader", load_ratio);
    return 0;
}
