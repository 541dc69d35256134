// The installer's timing build: the product's own run, with stamps taken by
// wrappers around the clock, the file output and the dialogue. The player
// sees the same run; the stamps go to the file named on the command line
// once the success box has been closed.
#include <windows.h>

#include <string>

#include "bench/Record.h"
#include "common/Failure.h"
#include "installer/win32/WinInstaller.h"
#include "installer/win32/WinPlatform.h"
#include "win32/ProcessPolicy.h"
#include "win32/SystemLibrary.h"

namespace {

using namespace quillfern;
using bench::PeakPrivateBytes;
using bench::PeakWorkingSet;
using bench::Record;
using bench::Ticks;

// The sequence reads the clock only inside the pause: the first reading is
// the pause's start and the latest one its end.
class TimedClock final : public APIs::MillisecondClock {
public:
    void Wrap(APIs::MillisecondClock& inner) { inner_ = &inner; }

    std::uint32_t Now() override {
        // Read before the pause's first reading, so the wait itself is not lengthened.
        if (reads_ == 0) peaksAtStart_ = bench::ReadMemoryPeaks();
        const std::uint32_t now = inner_->Now();
        const std::int64_t ticks = Ticks();
        if (reads_++ == 0) {
            first_ = now;
            firstTicks_ = ticks;
        }
        last_ = now;
        lastTicks_ = ticks;
        return now;
    }

    void AddTo(Record& record) const {
        record.Add("peak_ws_pause", peaksAtStart_.workingSet);
        record.Add("private_pause", peaksAtStart_.privateBytes);
        record.Add("pause_reads", reads_);
        record.Add("pause_start", firstTicks_);
        record.Add("pause_end", lastTicks_);
        record.Add("pause_clock_ms", APIs::ElapsedMilliseconds(first_, last_));
    }

private:
    APIs::MillisecondClock* inner_ = nullptr;
    std::int64_t reads_ = 0;
    bench::MemoryPeaks peaksAtStart_;
    std::uint32_t first_ = 0;
    std::uint32_t last_ = 0;
    std::int64_t firstTicks_ = 0;
    std::int64_t lastTicks_ = 0;
};

class TimedFileOutput final : public FileOutput {
public:
    explicit TimedFileOutput(Record& record) : record_(record) {}
    void Wrap(FileOutput& inner) { inner_ = &inner; }

    // The peaks are read outside the stamps, so the write times leave them out.
    void WriteWholeFile(const std::wstring& path, std::span<const std::byte> bytes) override {
        const std::string name = "write" + std::to_string(count_++);
        record_.Add(name + "_peak_before", PeakWorkingSet());
        record_.Add(name + "_private_before", PeakPrivateBytes());
        record_.Add(name + "_start", Ticks());
        inner_->WriteWholeFile(path, bytes);
        record_.Add(name + "_end", Ticks());
        record_.Add(name + "_peak_after", PeakWorkingSet());
    }

private:
    Record& record_;
    FileOutput* inner_ = nullptr;
    int count_ = 0;
};

class TimedDialogue final : public Dialogue {
public:
    explicit TimedDialogue(Record& record) : record_(record) {}
    void Wrap(Dialogue& inner) { inner_ = &inner; }

    MessageResult ShowMessage(std::wstring_view prompt, std::optional<std::wstring_view> title,
                              MessageStyle style) override {
        record_.Add("box", Ticks());
        record_.Add("peak_ws_box", PeakWorkingSet());
        record_.Add("private_box", PeakPrivateBytes());
        return inner_->ShowMessage(prompt, title, style);
    }

    void Beep() override {
        record_.Add("beep", Ticks());
        inner_->Beep();
    }

    void ReportUnhandledFailure(std::wstring_view what) override { inner_->ReportUnhandledFailure(what); }

private:
    Record& record_;
    Dialogue* inner_ = nullptr;
};

// The record is saved at program end, then the product's own end follows.
class RecordedEnd final : public ProgramEnd {
public:
    RecordedEnd(Record& record, const TimedClock& clock, std::wstring path)
        : record_(record), clock_(clock), path_(std::move(path)) {}
    void Wrap(ProgramEnd& inner) { inner_ = &inner; }

    void End(Exit exit) override {
        Save(exit);
        inner_->End(exit);
    }
    void Save(Exit exit) {
        clock_.AddTo(record_);
        record_.Add("exit", ExitCode(exit));
        // The runner reads the exit from the record and rejects a round without one.
        record_.Save(path_.c_str());
    }

private:
    Record& record_;
    const TimedClock& clock_;
    std::wstring path_;
    ProgramEnd* inner_ = nullptr;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    // The loader's share of the start: the image and the DLLs it imports.
    const std::int64_t entered = Ticks();
    win32::RestrictDllSearchToSystemFolder();
    win32::EnforceRedirectionTrust();

    Record record;
    record.Add("entered", entered);
    TimedClock clock;
    TimedFileOutput files(record);
    TimedDialogue dialogue(record);
    RecordedEnd end(record, clock, bench::PathArgument(commandLine));
    const auto decorate = [&](const Platform& real) {
        // COM is up and every platform object built; the window is not yet created.
        record.Add("assembled", Ticks());
        clock.Wrap(real.clock);
        files.Wrap(real.files);
        dialogue.Wrap(real.dialogue);
        end.Wrap(real.end);
        return Platform{real.window,   dialogue,     clock,          real.pump, real.shell,
                        real.codePage, real.folders, real.resources, files,     end};
    };

    Exit exit = Exit::UnhandledFailure;
    try {
        exit = win32::RunWinInstaller(decorate);
    } catch (const Failure& failure) {
        win32::ReportStartupFailure(failure.Message());
    }
    // Reached only when the run could not start.
    end.Save(exit);
    ::ExitProcess(static_cast<UINT>(ExitCode(exit)));
}
