// What a frame of the game costs, and how long the game takes to show its first frame.
// Builds the game, its window and its input as the entry point does and runs the real main loop
// with the paced swap switched off, under a display (run it under xvfb-run). Inside the loop, in
// rounds, it times bare frames (clear and swap), skybox frames (clear, skybox, swap) and the game's
// own frames, and counts heap allocations during the game's frames. Then it times the world rules
// without drawing, and start-up against a minimal SDL + OpenGL program. Prints one JSON object.
//
// Usage: bench_frame [--rounds R] [--frames N] [--startup-runs K]
#include <GL/glew.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/alloccounter.h"
#include "game/ball.h"
#include "game/brick.h"
#include "game/paddle.h"
#include "game/shaderapp.h"
#include "game/skybox.h"
#include "game/world.h"
#include "input/directinput.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/safedelete.h"
#include "shell/shellglobals.h"
#include "shell/zarnwindow.h"
#include "tests/support/childprocess.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

struct Options {
    int rounds = 5;
    int frames = 300;
    int warmUpFrames = 60;
    int startupRuns = 7;
    long logicSteps = 200000;
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        long value = std::strtol(argv[i + 1], nullptr, 10);
        if (value <= 0) continue;
        if (std::strcmp(argv[i], "--rounds") == 0) options.rounds = static_cast<int>(value);
        if (std::strcmp(argv[i], "--frames") == 0) options.frames = static_cast<int>(value);
        if (std::strcmp(argv[i], "--startup-runs") == 0) options.startupRuns = static_cast<int>(value);
    }
    return options;
}

// The game's window with its device context and handle in reach of the measurement.
class MeasuredWindow : public ZarnWindow {
public:
    using ZarnWindow::ZarnWindow;
    HDC Dc() const { return hdc; }
    HWND Handle() const { return hwnd; }
};

// The frame with nothing drawn: the floor under every frame.
void ClearSwapFrame(HDC dc)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers(dc);
}

// The game's own frame with only the backdrop drawn.
void SkyboxFrame(ShaderApp& game, HDC dc)
{
    game.BeginFrame();
    game.DrawBackdrop();
    game.EndFrame();
    SwapBuffers(dc);
}

struct LibraryCount {
    std::string name;
    long count;
};

struct FrameResults {
    std::vector<double> clearSwapMs, skyboxMs, gameMs;
    long gameFrames = 0;
    long ownAllocs = 0;
    long otherThreadAllocs = 0;
    std::vector<LibraryCount> libraryAllocs;
};

void AddTally(FrameResults& results, const alloccounter::Tally& tally)
{
    results.ownAllocs += tally.own;
    results.otherThreadAllocs += tally.otherThreads;
    for (const auto& entry : tally.byLibrary) {
        auto found = std::find_if(results.libraryAllocs.begin(), results.libraryAllocs.end(),
                                  [&](const LibraryCount& c) { return c.name == entry.first; });
        if (found == results.libraryAllocs.end()) {
            results.libraryAllocs.push_back({entry.first, entry.second});
        } else {
            found->count += entry.second;
        }
    }
}

// Stands in the input slot of the loop: polls the real keyboard object each frame and, being called
// first in every frame, marks the frames' boundaries. Between rounds of game frames it runs bursts of
// bare and skybox frames in the same context, so all three see the same machine load; after the
// last round it closes the window as the player would.
class FrameMeter : public IInput {
public:
    FrameMeter(IInput* input, ShaderApp* game, MeasuredWindow* window, const Options& options,
               FrameResults* results)
        : input_(input), game_(game), window_(window), options_(options), results_(results)
    {
    }

    void Update() override
    {
        Clock::time_point now = Clock::now();
        ++frame_;
        if (frame_ == options_.warmUpFrames) StartRound();
        if (inRound_) {
            if (frame_ == roundStartFrame_ + options_.frames) EndRound(now);
        }
        input_->Update();
    }
    bool InitInput() override { return input_->InitInput(); }
    bool InitDevices() override { return input_->InitDevices(); }
    void Release() override { input_->Release(); }
    bool IsMouseButtonDown(int button) override { return input_->IsMouseButtonDown(button); }
    float GetMouseX() override { return input_->GetMouseX(); }
    float GetMouseY() override { return input_->GetMouseY(); }
    float GetMouseWheel() override { return input_->GetMouseWheel(); }

private:
    void StartRound()
    {
        HDC dc = window_->Dc();
        Clock::time_point start = Clock::now();
        for (int i = 0; i < options_.frames; ++i) ClearSwapFrame(dc);
        Clock::time_point middle = Clock::now();
        for (int i = 0; i < options_.frames; ++i) SkyboxFrame(*game_, dc);
        Clock::time_point end = Clock::now();
        results_->clearSwapMs.push_back(Ms(middle - start) / options_.frames);
        results_->skyboxMs.push_back(Ms(end - middle) / options_.frames);
        alloccounter::Take();
        alloccounter::Start();
        inRound_ = true;
        roundStartFrame_ = frame_;
        roundStart_ = Clock::now();
    }

    void EndRound(Clock::time_point now)
    {
        alloccounter::Stop();
        AddTally(*results_, alloccounter::Take());
        results_->gameMs.push_back(Ms(now - roundStart_) / options_.frames);
        results_->gameFrames += options_.frames;
        inRound_ = false;
        if (++round_ == options_.rounds) {
            PostMessageA(window_->Handle(), WM_CLOSE, 0, 0);
            return;
        }
        StartRound();
    }

    IInput* input_;
    ShaderApp* game_;
    MeasuredWindow* window_;
    Options options_;
    FrameResults* results_;
    long frame_ = 0;
    int round_ = 0;
    bool inRound_ = false;
    long roundStartFrame_ = 0;
    Clock::time_point roundStart_;
};

// The rules of the game's frame with none of its drawing: the same calls on the same world objects
// in the same order as ShaderApp::Update, DrawScene and UpdateBricks make them.
void WorldStep(ShaderApp& game)
{
    gBall->Advance();
    gSkybox->MoveToCamera();
    gBall->CollidePaddle(gPaddle->GetX(), gPaddle->GetY(), gPaddle->GetWidth(), gPaddle->GetHeight());
    bool anyAlive = false;
    auto row = [&](Brick* const* bricks, int count) {
        for (int i = 0; i < count; ++i) {
            Brick* brick = bricks[i];
            if (!brick->IsAlive()) continue;
            brick->Hit(
                gBall->CollideBrick(brick->GetX(), brick->GetY(), brick->GetWidth(), brick->GetHeight()));
            anyAlive = true;
        }
    };
    row(gLowRow, kLowRowBricks);
    row(gMidRow, kMidRowBricks);
    row(gHighRow, kHighRowBricks);
    if (!anyAlive) game.ResetGame();
    if (gBall->IsDead()) game.ResetGame();
}

struct LogicResults {
    double logicUs = 0.0;
    double keyboardReadUs = 0.0;
    long ownAllocs = 0;
};

// Input read (from the keyboard snapshot, so no display round trip) and world step, many times over;
// and separately the read of the real keyboard, which asks the X server each time.
LogicResults MeasureLogic(ShaderApp& game, IInput& input, const Options& options)
{
    LogicResults results;
    std::vector<double> runs;
    for (int r = 0; r < 5; ++r) {
        alloccounter::Take();
        alloccounter::Start();
        Clock::time_point start = Clock::now();
        for (long i = 0; i < options.logicSteps; ++i) {
            input.Update();
            WorldStep(game);
        }
        Clock::time_point end = Clock::now();
        alloccounter::Stop();
        results.ownAllocs += alloccounter::Take().own;
        runs.push_back(Ms(end - start) * 1000.0 / options.logicSteps);
    }
    results.logicUs = Median(runs);

    testseam::UseRealKeyboard();
    const int reads = 2000;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < reads; ++i) input.Update();
    results.keyboardReadUs = Ms(Clock::now() - start) * 1000.0 / reads;
    return results;
}

std::string ProgramDirectory()
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return ".";
    path[length] = '\0';
    std::string full(path);
    return full.substr(0, full.rfind('/'));
}

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Starts the program and returns the milliseconds from just before the start to the first frame it
// reports presented, or a negative value if it reported none.
double TimeToFirstFrame(const std::string& directory, const std::string& program)
{
    const std::string marker = "presented frame 1 at ";
    const long long started = MonotonicNs();
    ChildProcess child(directory + "/" + program, directory,
                       {{"BRICKS_EXIT_AFTER_FRAMES", "1"}, {"BRICKS_MESSAGE_BOXES", "stderr"}});
    child.Wait(std::chrono::seconds(60));
    const std::string& output = child.Errors();
    size_t found = output.find(marker);
    if (found == std::string::npos) {
        std::fprintf(stderr, "%s presented no frame:\n%s\n", program.c_str(), output.c_str());
        return -1.0;
    }
    long long presented = std::strtoll(output.c_str() + found + marker.size(), nullptr, 10);
    return static_cast<double>(presented - started) / 1e6;
}

// The machine's one-minute load average: frame times on a busy machine are not those of an idle one.
double LoadAverage()
{
    double load = -1.0;
    if (std::FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &load) != 1) load = -1.0;
        std::fclose(file);
    }
    return load;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options = ParseOptions(argc, argv);
    const double loadBefore = LoadAverage();
    testseam::SetSwapPacing(false);
    // The launch key held down: the ball is in play, striking bricks and walls, as in a game.
    uint8_t keys[256] = {};
    keys[DIK_SPACE] = 0x80;
    testseam::SetKeyboardSnapshot(keys);

    FrameResults frames;
    gInstance = GetModuleHandleA(nullptr);
    ShaderApp* game = new ShaderApp;
    MeasuredWindow* window = new MeasuredWindow(game);
    IInput* keyboard = new DirectInput;
    gInput = new FrameMeter(keyboard, game, window, options, &frames);
    ShowWindow(window->Handle(), SW_SHOWNORMAL);

    window->Run();

    LogicResults logic = MeasureLogic(*game, *keyboard, options);
    SafeDelete(gInput);
    SafeDelete(keyboard);
    SafeDelete(window);
    SafeDelete(game);

    std::string directory = ProgramDirectory();
    std::vector<double> gameStart, helloStart;
    for (int i = 0; i < options.startupRuns; ++i) {
        gameStart.push_back(TimeToFirstFrame(directory, "bricks3d"));
        helloStart.push_back(TimeToFirstFrame(directory, "bench_hello"));
    }

    double clearSwap = Median(frames.clearSwapMs);
    double skybox = Median(frames.skyboxMs);
    double gameFrame = Median(frames.gameMs);
    double startup = Median(gameStart);
    double helloStartup = Median(helloStart);
    double perFrame = frames.gameFrames ? 1.0 / static_cast<double>(frames.gameFrames) : 0.0;

    std::printf("{\n");
    std::printf("  \"clear_swap_ms\": %.4f,\n", clearSwap);
    std::printf("  \"skybox_ms\": %.4f,\n", skybox);
    std::printf("  \"game_frame_ms\": %.4f,\n", gameFrame);
    std::printf("  \"game_over_skybox\": %.3f,\n", skybox > 0 ? gameFrame / skybox : 0.0);
    std::printf("  \"logic_us\": %.4f,\n", logic.logicUs);
    std::printf("  \"logic_allocs\": %ld,\n", logic.ownAllocs);
    std::printf("  \"keyboard_read_us\": %.2f,\n", logic.keyboardReadUs);
    std::printf("  \"allocs_per_frame\": %.3f,\n", static_cast<double>(frames.ownAllocs) * perFrame);
    std::printf("  \"library_allocs_per_frame\": {");
    for (size_t i = 0; i < frames.libraryAllocs.size(); ++i) {
        std::printf("%s\"%s\": %.3f", i ? ", " : "", frames.libraryAllocs[i].name.c_str(),
                    static_cast<double>(frames.libraryAllocs[i].count) * perFrame);
    }
    std::printf("},\n");
    std::printf("  \"driver_thread_allocs_per_frame\": %.3f,\n",
                static_cast<double>(frames.otherThreadAllocs) * perFrame);
    std::printf("  \"startup_ms\": %.2f,\n", startup);
    std::printf("  \"hello_startup_ms\": %.2f,\n", helloStartup);
    std::printf("  \"startup_over_hello\": %.3f,\n", helloStartup > 0 ? startup / helloStartup : 0.0);
    std::printf("  \"rounds\": %d,\n", options.rounds);
    std::printf("  \"frames_per_round\": %d,\n", options.frames);
    std::printf("  \"startup_runs\": %d,\n", options.startupRuns);
    std::printf("  \"load_average\": [%.2f, %.2f]\n", loadBefore, LoadAverage());
    std::printf("}\n");
    return 0;
}
