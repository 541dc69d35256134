// Hand-written fakes of the platform interfaces; each records what it was asked.
#pragma once

#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/Failure.h"
#include "installer/Platform.h"

namespace quillfern::testing {

// Latin-1 as the "ANSI code page": every character below 256 maps to one byte.
class Latin1CodePage final : public APIs::AnsiCodePage {
public:
    std::string ToAnsi(std::wstring_view text) override {
        std::string bytes;
        for (wchar_t c : text) bytes.push_back(c < 256 ? static_cast<char>(c) : '?');
        return bytes;
    }
    std::wstring FromAnsi(std::string_view bytes) override {
        std::wstring text;
        for (char c : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
        return text;
    }
};

// A shell whose special folder and browser answers are set by the test.
class FakeShell final : public APIs::Shell {
public:
    // What SHGetSpecialFolderLocation answers; no entry means "unknown CSIDL".
    std::map<std::int32_t, std::optional<std::string>> specialFolders;  // nullopt: virtual, no path
    // What the browser returns: nullopt is Cancel; a value with no path is a virtual item.
    std::optional<std::optional<std::string>> browseChoice;
    // The shell's own wide path for an item whose ANSI path is the key, where
    // the code page changed it (nullopt: the wide lookup fails too). Any other
    // item's wide path is its ANSI path read as Latin-1.
    std::map<std::string, std::optional<std::wstring>> ownPaths;
    // What a failed ANSI lookup leaves in the buffer for an item without a path.
    std::string failedLookupWrites;

    int listsHandedOut = 0;
    std::vector<APIs::ItemList> freed;
    std::optional<WindowHandle> browseOwner;
    std::string browsePrompt;
    std::uint32_t browseFlags = 0;

    std::int32_t SpecialFolderLocation(std::int32_t csidl, APIs::ItemList* list) override {
        const auto found = specialFolders.find(csidl);
        if (found == specialFolders.end()) return static_cast<std::int32_t>(0x80070057);  // E_INVALIDARG
        *list = NewList(found->second);
        return 0;
    }
    bool PathFromItemList(APIs::ItemList list, char* buffer) override {
        const auto& path = lists_.at(list);
        if (!path) {
            std::memcpy(buffer, failedLookupWrites.c_str(), failedLookupWrites.size());
            return false;
        }
        std::memcpy(buffer, path->c_str(), path->size() + 1);
        return true;
    }
    bool WidePathFromItemList(APIs::ItemList list, std::wstring& wide) override {
        const auto& path = lists_.at(list);
        if (!path) return false;
        const auto own = ownPaths.find(*path);
        if (own == ownPaths.end()) {
            wide.assign(path->begin(), path->end());
            for (wchar_t& c : wide) c = static_cast<wchar_t>(static_cast<unsigned char>(c));
            return true;
        }
        if (!own->second) return false;
        wide = *own->second;
        return true;
    }
    APIs::ItemList BrowseForFolder(WindowHandle owner, const std::string& prompt,
                                   std::uint32_t flags) override {
        browseOwner = owner;
        browsePrompt = prompt;
        browseFlags = flags;
        if (!browseChoice) return nullptr;
        return NewList(*browseChoice);
    }
    void FreeItemList(APIs::ItemList list) override { freed.push_back(list); }

private:
    APIs::ItemList NewList(std::optional<std::string> path) {
        auto* list = reinterpret_cast<APIs::ItemList>(static_cast<std::uintptr_t>(0x1000 + ++listsHandedOut));
        lists_[list] = std::move(path);
        return list;
    }
    std::map<APIs::ItemList, std::optional<std::string>> lists_;
};

class FakeFolderQuery final : public APIs::FolderQuery {
public:
    std::set<std::wstring> folders;
    bool failToCreate = false;
    std::vector<std::wstring> asked;

    bool FolderExists(const std::wstring& path) override {
        asked.push_back(path);
        if (failToCreate) throw Failure(L"Creating Scripting.FileSystemObject failed (0x80040154).");
        return folders.count(path) != 0;
    }
};

class FakeResources final : public payload::ResourceReader {
public:
    std::map<std::int32_t, payload::Bytes> resources;
    std::vector<std::pair<std::wstring, std::int32_t>> asked;

    std::optional<std::span<const std::byte>> Find(std::wstring_view type, std::int32_t id) override {
        asked.emplace_back(type, id);
        if (type != L"CUSTOM") return std::nullopt;
        const auto found = resources.find(id);
        if (found == resources.end()) return std::nullopt;
        return std::span<const std::byte>(found->second);
    }
};

// Records every step of a run in one log, so tests can check the order.
using EventLog = std::vector<std::string>;

inline std::string Narrow(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

class FakeWindow final : public InstallerWindow {
public:
    explicit FakeWindow(EventLog& log) : log_(log) {}
    static constexpr WindowHandle kHandle = 0x00010ABC;
    bool failToCreate = false;
    // A library failure (not ours) while creating, with this what() text.
    std::string libraryFailure;
    std::wstring caption = L"Label4";  // a placeholder no player should see
    bool visible = false;
    bool closedByPlayer = false;

    void Create() override {
        log_.push_back("window created");
        if (failToCreate) throw Failure(L"The installer window could not be created.");
        if (!libraryFailure.empty()) throw std::runtime_error(libraryFailure);
    }
    void SetAddOnCaption(std::wstring_view text) override {
        caption = text;
        log_.push_back("caption " + Narrow(text) + (visible ? " (visible)" : " (hidden)"));
    }
    void ShowModeless() override {
        visible = true;
        log_.push_back("window shown");
    }
    WindowHandle Handle() const override { return closedByPlayer ? kNoWindow : kHandle; }

private:
    EventLog& log_;
};

struct ShownBox {
    std::wstring prompt;
    std::optional<std::wstring> title;
    MessageStyle style;
    bool operator==(const ShownBox&) const = default;
};

// How a box with a given title fails instead of showing.
enum class BoxFault { NotShown, OutOfMemory };

class FakeDialogue final : public Dialogue {
public:
    explicit FakeDialogue(EventLog& log) : log_(log) {}
    std::deque<MessageResult> answers;  // OK once these run out
    std::map<std::wstring, BoxFault> faults;  // by title
    std::vector<ShownBox> boxes;          // only those that showed
    std::vector<std::wstring> unhandled;

    MessageResult ShowMessage(std::wstring_view prompt, std::optional<std::wstring_view> title,
                              MessageStyle style) override {
        const auto fault = title ? faults.find(std::wstring(*title)) : faults.end();
        if (fault != faults.end()) {
            log_.push_back("box failed " + Narrow(*title));
            if (fault->second == BoxFault::OutOfMemory) throw std::bad_alloc();
            throw Failure(L"A message box could not be shown.");
        }
        boxes.push_back({std::wstring(prompt),
                         title ? std::optional<std::wstring>(std::wstring(*title)) : std::nullopt, style});
        log_.push_back("box " + Narrow(prompt));
        if (answers.empty()) return MessageResult::Ok;
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Beep() override { log_.push_back("beep"); }
    void ReportUnhandledFailure(std::wstring_view what) override {
        unhandled.emplace_back(what);
        log_.push_back("unhandled failure");
    }

private:
    EventLog& log_;
};

// Records the program's end instead of ending the test, and how much had
// happened by then, so a test can tell that nothing ran after it.
class FakeProgramEnd final : public ProgramEnd {
public:
    explicit FakeProgramEnd(const EventLog& log) : log_(log) {}
    std::vector<Exit> exits;
    std::size_t eventsBefore = 0;

    void End(Exit exit) override {
        exits.push_back(exit);
        eventsBefore = log_.size();
    }

private:
    const EventLog& log_;
};

// A clock that advances a fixed step at every reading.
class SteppingClock final : public APIs::MillisecondClock {
public:
    explicit SteppingClock(std::uint32_t start, std::uint32_t step) : now_(start), step_(step) {}
    std::uint32_t Now() override {
        const std::uint32_t reading = now_;
        now_ += step_;
        return reading;
    }

private:
    std::uint32_t now_;
    std::uint32_t step_;
};

class CountingPump final : public APIs::EventPump {
public:
    explicit CountingPump(EventLog* log = nullptr) : log_(log) {}
    int pumps = 0;
    void PumpPending() override {
        ++pumps;
        if (log_ && pumps == 1) log_->push_back("pumping");
    }

private:
    EventLog* log_;
};

// Files in memory. Like the real output, it refuses a path that names no file.
class FakeFiles final : public FileOutput {
public:
    explicit FakeFiles(EventLog& log) : log_(log) {}
    std::map<std::wstring, payload::Bytes> files;
    std::set<std::wstring> refuse;  // e.g. read-only targets

    void WriteWholeFile(const std::wstring& path, std::span<const std::byte> bytes) override {
        log_.push_back("write " + Narrow(path));
        if (path.empty() || path.back() == L'\\') throw Failure(path + L": names no file");
        if (refuse.count(path)) throw Failure(path + L": is read-only");
        files[path] = payload::Bytes(bytes.begin(), bytes.end());
    }

private:
    EventLog& log_;
};

}  // namespace quillfern::testing
