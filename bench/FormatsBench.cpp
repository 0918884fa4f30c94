// S-record and ELF throughput of the readers (and the S-record writer) on a
// 1 MB and an 8 MB image of random bytes: the S-record text from the writer
// (S2 records), the ELF file linked by avr-ld from the same bytes, as a real
// executable with its loadable segment. The rate counts image bytes.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "buffers/ElfImage.h"
#include "buffers/SRecord.h"
#include "support/AvrToolchain.h"
#include "support/ScratchFolder.h"

namespace {

using namespace zavuv;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t kOneMegabyte = 1048576;
constexpr std::int64_t kWholeFlashSpace = 8388608;  // 0x000000..0x7FFFFF

// Random bytes: no run of 0xFF that a reader or writer could make light of.
Bytes randomImage(std::size_t size) {
    std::mt19937 numbers(12345);
    Bytes image(size);
    for (auto& b : image)
        b = static_cast<std::uint8_t>(numbers());
    return image;
}

// The image as an AVR executable: avr-objcopy wraps the bytes as the .text of
// an object file, avr-ld links it at address 0. Empty when that fails.
Bytes linkedElf(const Bytes& image, std::string& failure) {
    testing::ScratchFolder folder;
    const auto binary = folder.write("image.bin", image);
    const auto object = folder.file("image.o");
    const auto elf = folder.file("image.elf");
    const auto wrapped = testing::runTool(
        "avr-objcopy", {"-I", "binary", "-O", "elf32-avr", "-B", "avr:6", "--rename-section",
                        ".data=.text,alloc,load,contents,code", binary, object});
    const auto linked = testing::runTool(
        "avr-ld", {"-mavr6", "--defsym=__TEXT_REGION_LENGTH__=8M", "-o", elf, object});
    if (wrapped.exitCode != 0 || linked.exitCode != 0) {
        failure = "avr-objcopy or avr-ld failed (Debian package binutils-avr): " + wrapped.err +
                  linked.err;
        return {};
    }
    return testing::bytesOf(testing::ScratchFolder::read(elf));
}

void reportRate(benchmark::State& state, std::size_t imageBytes) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(imageBytes));
}

void srecordRead(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const buffers::ImageSegments image = {{0, randomImage(size)}};
    const std::string text = buffers::writeSRecord(image, {});
    const Bytes bytes(text.begin(), text.end());
    for (auto _ : state) {
        auto result = buffers::readSRecord(bytes, {kWholeFlashSpace});
        const auto* read = std::get_if<buffers::SRecordImage>(&result);
        if (read == nullptr || read->segments != image)
            state.SkipWithError("the image did not read back");
        benchmark::DoNotOptimize(result);
    }
    reportRate(state, size);
}

void srecordWrite(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const buffers::ImageSegments image = {{0, randomImage(size)}};
    for (auto _ : state) {
        auto text = buffers::writeSRecord(image, {});
        benchmark::DoNotOptimize(text);
    }
    reportRate(state, size);
}

void elfRead(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const Bytes image = randomImage(size);
    std::string failure;
    const Bytes file = linkedElf(image, failure);
    if (file.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    for (auto _ : state) {
        auto result = buffers::readElfImage(file);
        const auto* read = std::get_if<buffers::ElfImage>(&result);
        if (read == nullptr || read->flash.size() != 1 || read->flash[0].bytes != image)
            state.SkipWithError("the image did not read back");
        benchmark::DoNotOptimize(result);
    }
    reportRate(state, size);
}

}  // namespace

BENCHMARK(srecordRead)->Arg(kOneMegabyte)->Arg(kWholeFlashSpace)->Unit(benchmark::kMillisecond);
BENCHMARK(srecordWrite)->Arg(kOneMegabyte)->Arg(kWholeFlashSpace)->Unit(benchmark::kMillisecond);
BENCHMARK(elfRead)->Arg(kOneMegabyte)->Arg(kWholeFlashSpace)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
