// The page's host: the drive on a canvas. The page's script (site/page.js) loads this program,
// tells it the canvas's size, the pause key and whether the tab can be seen; everything else
// (the loop, the ring, the scaling, the hash and bench modes) happens here. This is the only
// file of the web host that talks to the browser.
#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "app/web/canvas_picture.h"
#include "app/web/hash_lines.h"
#include "app/web/web_bench.h"
#include "app/web/web_drive.h"
#include "app/web/web_options.h"
#include "render/render_worker.h"
#include "render/simd/simd_level.h"

// ---- the browser's side -------------------------------------------------------------------------

// The address's query ("?hashes=...") into `out`; its length in bytes.
EM_JS(int, PageQuery, (char* out, int capacity), {
    const query = String(location.search || "");
    stringToUTF8(query, out, capacity);
    return lengthBytesUTF8(query);
});

// Puts the picture (bytes R, G, B, A) on the canvas, which takes the picture's size. ImageData
// cannot look at shared memory, so a threaded page copies into a buffer of its own first.
EM_JS(void, PutPicture, (const void* pixels, int width, int height), {
    const canvas = Module["canvas"];
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height !== height) canvas.height = height;
    let put = Module["veldmarkPut"];
    if (!put || put.width !== width || put.height !== height || put.address !== pixels ||
        put.memory !== HEAPU8.buffer) {
        const bytes = width * height * 4;
        const shared = typeof SharedArrayBuffer !== "undefined" && HEAPU8.buffer instanceof SharedArrayBuffer;
        const image = shared ? new ImageData(width, height)
                             : new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, bytes), width, height);
        put = {width : width, height : height, address : pixels, memory : HEAPU8.buffer, image : image,
               shared : shared, context : canvas.getContext("2d", {alpha : false})};
        Module["veldmarkPut"] = put;
    }
    if (put.shared) put.image.data.set(HEAPU8.subarray(pixels, pixels + width * height * 4));
    put.context.putImageData(put.image, 0, 0);
});

// Writes `text` into the element with id `id` and, when `title` is not empty, sets the
// document's title.
EM_JS(void, ShowText, (const char* id, const char* text, const char* title), {
    const element = document.getElementById(UTF8ToString(id));
    if (element) {
        element.textContent = UTF8ToString(text);
        element.hidden = false;
    }
    const t = UTF8ToString(title);
    if (t) document.title = t;
});

// Tells the page how its frames are painted (for the page's own notes and the tests).
EM_JS(void, SetRendering, (const char* how, const char* simd), {
    document.body.dataset.rendering = UTF8ToString(how);
    document.body.dataset.simd = UTF8ToString(simd);
});

namespace veldmark::web {
namespace {

constexpr int kQueryCapacity = 2048;
// How long an unpaced slice runs before the page gets its thread back for a moment.
constexpr double kUnpacedSliceMilliseconds = 50.0;
// How long the page waits for a worker before it looks again.
constexpr int kUnpacedWaitMilliseconds = 1;

struct Page {
    WebOptions options;
    WebDrive drive;
    RenderWorkers workers;
    std::size_t worker_count = 0;
    CanvasPicture picture;
    CanvasSize canvas{1, 1};
    bool fps_started = false;
    FpsMeter fps;
    std::unique_ptr<HashLines> hashes;
    WebBench bench;
};

Page* g_page = nullptr;

double NowMs() { return emscripten_get_now(); }

FpsClocks FpsNow()
{
    // The browser tells a page nothing of its processor time: the overlay shows the rate only.
    return {static_cast<std::uint64_t>(NowMs() * 1e6), 0};
}

class CanvasConsumer final : public FrameConsumer {
public:
    explicit CanvasConsumer(Page& page) : page_(page) {}
    Delivery Consume(const FrameSlot& frame, std::uint64_t) override
    {
        Page& p = page_;
        ResizeCanvasPicture(p.picture, p.canvas);
        const FpsMeter* overlay = p.options.fps_overlay && p.fps.text[0] != '\0' ? &p.fps : nullptr;
        DrawFrameToCanvas(frame.pixels, p.picture, overlay);
        PutPicture(p.picture.pixels.data(), p.picture.width, p.picture.height);
        if (p.options.fps_overlay) CountShownFrame(p);
        return Delivery::Taken;
    }

private:
    static void CountShownFrame(Page& p)
    {
        if (!p.fps_started) {
            FpsMeterStart(p.fps, FpsNow());
            p.fps_started = true;
            return;
        }
        FpsMeterFrame(p.fps, FpsNow());
        if (p.fps.window_frames == 0)   // a window just ended: its rate without the cpu figure
            std::snprintf(p.fps.text, sizeof p.fps.text, "%llu.%llu fps",
                          static_cast<unsigned long long>(p.fps.fps_tenths / 10),
                          static_cast<unsigned long long>(p.fps.fps_tenths % 10));
    }
    Page& page_;
};

// The workers are left idle rather than joined: the page's thread must not wait for anything.
void Finish(Page&, const char* id, const std::string& text, const char* title)
{
    ShowText(id, text.c_str(), title);
    emscripten_cancel_main_loop();
}

void PageFrame()
{
    Page& p = *g_page;
    switch (p.options.mode) {
    case WebMode::Drive: {
        CanvasConsumer canvas(p);
        DriveTurn(p.drive, canvas, NowMs());
        break;
    }
    case WebMode::Hashes:
        if (RunUnpaced(p.drive, *p.hashes, kUnpacedSliceMilliseconds, NowMs) == UnpacedEnd::Finished)
            Finish(p, "hashes", p.hashes->text(), "hashes done");
        break;
    case WebMode::Bench:
        if (WebBenchSlice(p.bench, p.drive, kUnpacedSliceMilliseconds))
            Finish(p, "bench", WebBenchReport(p.bench, SimdLevelName(ActiveSimdLevel())), "bench done");
        break;
    }
}

int Start()
{
    g_page = new Page;
    Page& p = *g_page;
    char query[kQueryCapacity] = {};
    const int length = PageQuery(query, kQueryCapacity);
    p.options = ReadWebOptions(length < kQueryCapacity ? query : "");
    if (!p.options.error.empty()) {
        ShowText("status", ("Veldmark cannot start: " + p.options.error + ".").c_str(), "");
        return 0;
    }
    const FrameSchedule schedule = p.options.mode == WebMode::Drive  ? FrameSchedule{}
                                   : p.options.mode == WebMode::Bench ? FrameSchedule{.count = p.options.frames.count}
                                                                      : p.options.frames;
    StartWebDrive(p.drive, g_state, Rendering::Workers, schedule);
#if defined(__EMSCRIPTEN_PTHREADS__)
    if (p.workers.Start(g_state, kRenderWorkerCount)) p.worker_count = kRenderWorkerCount;
#endif
    if (p.worker_count == 0) StartWebDrive(p.drive, g_state, Rendering::ThisThread, schedule);
    SetRendering(p.worker_count > 0 ? "workers" : "page", SimdLevelName(ActiveSimdLevel()));

    if (p.options.mode == WebMode::Hashes) p.hashes = std::make_unique<HashLines>(schedule.count);
    if (p.options.mode == WebMode::Bench)
        StartWebBench(p.bench, schedule.count, p.options.frames.every, p.worker_count);
    emscripten_set_main_loop(PageFrame, 0, 0);
    // The drive keeps to the display's frames; the measuring modes come back as soon as the
    // browser's timers allow, to take what the workers finished meanwhile.
    if (p.options.mode != WebMode::Drive) emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, kUnpacedWaitMilliseconds);
    return 0;
}

} // namespace
} // namespace veldmark::web

// ---- what the page's script calls -----------------------------------------------------------------

extern "C" {

// The canvas's size in device pixels changed (the window, the zoom or the display did).
EMSCRIPTEN_KEEPALIVE void veldmark_resize(double css_width, double css_height, double device_pixel_ratio)
{
    if (veldmark::web::g_page)
        veldmark::web::g_page->canvas = veldmark::web::CanvasSizeFor(css_width, css_height, device_pixel_ratio);
}

// Space: pauses or resumes the drive; the last picture stays.
EMSCRIPTEN_KEEPALIVE int veldmark_toggle_pause()
{
    if (!veldmark::web::g_page) return 0;
    bool& paused = veldmark::web::g_page->drive.paused;
    paused = !paused;
    return paused ? 1 : 0;
}

// How many frames the drive has shown so far: for measuring from outside (scripts/web-cpu-load).
EMSCRIPTEN_KEEPALIVE double veldmark_frames_shown()
{
    return veldmark::web::g_page ? static_cast<double>(veldmark::web::g_page->drive.flow.counters.presented) : 0.0;
}

// The tab was hidden or shown again: nothing is drawn while nobody can see it.
EMSCRIPTEN_KEEPALIVE void veldmark_set_hidden(int hidden)
{
    if (veldmark::web::g_page) veldmark::web::g_page->drive.hidden = hidden != 0;
}

} // extern "C"

int main() { return veldmark::web::Start(); }
