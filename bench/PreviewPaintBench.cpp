// Paint time of the buffer preview for a small and a DataFlash-sized buffer, at
// random scroll positions: the view draws only its visible lines, so the size
// of the buffer should not show in the time (the 8,650,752-byte case within
// 1.2 times the 1 KB case). Each paint renders the whole preview, scroll bar
// included, into an image on Qt's offscreen platform.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include "app/widgets/BufferPreview.h"
#include "buffers/MemoryBuffer.h"
#include "support/RecordingUserPort.h"

namespace {

using namespace zavuv;

// About the pane of the main window: 24 lines of 16 bytes.
constexpr int kPreviewWidth = 560;
constexpr int kPreviewHeight = 400;
constexpr int kScrollPositions = 256;

void previewPaint(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    testing::RecordingUserPort user;
    buffers::MemoryBuffer flash(false, user);
    flash.create(size);
    // Every state and byte value, so that every colour and glyph is drawn.
    std::mt19937 numbers(2026);
    auto bytes = flash.mutableData();
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(numbers());
        flash.setState(i, static_cast<buffers::ByteState>(numbers() % 7));
    }

    app::widgets::BufferPreview preview;
    preview.resize(kPreviewWidth, kPreviewHeight);
    preview.setBuffer(&flash);
    QScrollBar& scroll = *preview.verticalScrollBar();
    std::uniform_int_distribution<int> line(0, scroll.maximum());
    std::vector<int> positions(kScrollPositions);
    for (int& p : positions)
        p = line(numbers);

    QImage image(preview.size(), QImage::Format_RGB32);
    std::size_t next = 0;
    for (auto _ : state) {
        scroll.setValue(positions[next++ % positions.size()]);
        preview.render(&image);
    }
    state.counters["scroll_lines"] = scroll.maximum();
}

}  // namespace

BENCHMARK(previewPaint)->Arg(1024)->Arg(8650752)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
