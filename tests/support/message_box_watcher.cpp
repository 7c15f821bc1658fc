// Message boxes of our process: found by window enumeration, read through their controls,
// dismissed by a posted button command.
#include "tests/support/message_box_watcher.h"

#include "common/ansi_encoding.h"

#include <chrono>
#include <iterator>

namespace quill::test {

namespace {

// The static control that holds a message box's text has this id on Windows and in Wine.
constexpr int MESSAGE_TEXT_ID = 0xFFFF;

std::wstring windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

bool hasClass(HWND window, const wchar_t *name) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    return lstrcmpiW(className, name) == 0;
}

BOOL CALLBACK checkChild(HWND child, LPARAM parameter) {
    if (hasClass(child, L"Static") || hasClass(child, L"Button"))
        return TRUE;
    *reinterpret_cast<bool *>(parameter) = false;
    return FALSE;
}

// A message box is a dialog that the system built from its own template: it belongs to no
// module of ours (its instance is user32's on Windows, null in Wine), it holds the text
// static, and nothing but static texts, an icon and buttons. Our dialogs load from our
// module and hold edits and lists.
bool isMessageBox(HWND window) {
    if (!IsWindowVisible(window) || !hasClass(window, L"#32770"))
        return false;
    HWND text = GetDlgItem(window, MESSAGE_TEXT_ID);
    if (text == nullptr || !hasClass(text, L"Static") || !IsWindowVisible(text))
        return false;
    auto instance = reinterpret_cast<HMODULE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (instance != nullptr && instance != GetModuleHandleW(L"user32.dll"))
        return false;
    bool onlyTextsAndButtons = true;
    EnumChildWindows(window, checkChild, reinterpret_cast<LPARAM>(&onlyTextsAndButtons));
    return onlyTextsAndButtons;
}

struct Search {
    DWORD processId;
    const std::set<HWND> *skip;
    HWND found;
};

BOOL CALLBACK findInProcess(HWND window, LPARAM parameter) {
    auto *search = reinterpret_cast<Search *>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || search->skip->count(window) != 0 || !isMessageBox(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible message box of this process that is not in `skip`, or null.
HWND findMessageBoxWindow(const std::set<HWND> &skip) {
    Search search{GetCurrentProcessId(), &skip, nullptr};
    EnumWindows(findInProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ShownMessageBox readMessageBox(HWND window) {
    ShownMessageBox box;
    box.window = window;
    box.owner = GetWindow(window, GW_OWNER);
    box.caption = windowText(window);
    box.text = windowText(GetDlgItem(window, MESSAGE_TEXT_ID));
    return box;
}

} // namespace

std::string ShownMessageBox::captionUtf8() const {
    return utf8FromWide(caption);
}
std::string ShownMessageBox::textUtf8() const {
    return utf8FromWide(text);
}

std::optional<ShownMessageBox> findMessageBox() {
    HWND window = findMessageBoxWindow({});
    if (window == nullptr)
        return std::nullopt;
    return readMessageBox(window);
}

std::optional<ShownMessageBox> waitForMessageBox(DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (auto box = findMessageBox())
            return box;
        if (GetTickCount() - start >= timeoutMs)
            return std::nullopt;
        Sleep(20);
    }
}

bool pressMessageBoxButton(HWND box, int buttonId) {
    // Only a button the box shows: a box may keep the buttons of other styles hidden.
    HWND button = GetDlgItem(box, buttonId);
    if (button == nullptr || !IsWindowVisible(button))
        return false;
    return PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != FALSE;
}

MessageBoxRecorder::MessageBoxRecorder(DWORD pollMs)
    : pollMs_(pollMs), thread_([this] { watch(); }) {}

MessageBoxRecorder::~MessageBoxRecorder() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::vector<ShownMessageBox> MessageBoxRecorder::boxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

size_t MessageBoxRecorder::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_.size();
}

bool MessageBoxRecorder::waitForCount(size_t n, DWORD timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return boxes_.size() >= n; });
}

void MessageBoxRecorder::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.clear();
}

void MessageBoxRecorder::watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        // A dismissed box lingers until its thread handles the command; forget it once gone.
        for (auto it = dismissed_.begin(); it != dismissed_.end();)
            it = IsWindow(*it) ? std::next(it) : dismissed_.erase(it);

        std::set<HWND> skip = dismissed_;
        lock.unlock();
        HWND window = findMessageBoxWindow(skip);
        std::optional<ShownMessageBox> box;
        if (window != nullptr)
            box = readMessageBox(window);
        lock.lock();
        const bool recorded = box.has_value();
        if (recorded) {
            // Recorded before the button is pressed: the press lets the box's thread return
            // from MessageBox at once, and a test reading the count right after the call that
            // showed the box must find it there.
            dismissed_.insert(window);
            boxes_.push_back(std::move(*box));
            changed_.notify_all();
        }
        if (window != nullptr) {
            lock.unlock();
            if (!pressMessageBoxButton(window, IDOK) && !pressMessageBoxButton(window, IDCANCEL))
                pressMessageBoxButton(window, IDNO);
            lock.lock();
        }
        if (recorded)
            continue;
        changed_.wait_for(lock, std::chrono::milliseconds(pollMs_), [&] { return stop_; });
    }
}

} // namespace quill::test
