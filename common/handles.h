// Owners for Win32 handles: one small non-copyable, movable wrapper per release function.
// Both NULL and INVALID_HANDLE_VALUE count as empty, so a wrapper never releases either.
#pragma once

#include <windows.h>

#include <utility>

namespace quill {

template <typename T, typename Traits> class UniqueResource {
  public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource &) = delete;
    UniqueResource &operator=(const UniqueResource &) = delete;
    UniqueResource(UniqueResource &&other) noexcept : value_(other.release()) {}
    UniqueResource &operator=(UniqueResource &&other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    bool valid() const { return Traits::valid(value_); }
    explicit operator bool() const { return valid(); }

    T release() {
        T value = value_;
        value_ = Traits::empty();
        return value;
    }
    // Releases the held value; returns what the release function reported (true when
    // there was nothing to release).
    bool reset(T value = Traits::empty()) {
        bool ok = true;
        if (Traits::valid(value_))
            ok = Traits::close(value_);
        value_ = value;
        return ok;
    }

  private:
    T value_ = Traits::empty();
};

struct KernelHandleTraits {
    static HANDLE empty() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool close(HANDLE h) { return CloseHandle(h) != FALSE; }
};
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;

// A job object. Letting it go ends every process still in it, whatever limits the job was
// given, before the handle is closed: a child tree owned by a job never outlives its owner.
struct JobObjectTraits {
    static HANDLE empty() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr; }
    static bool close(HANDLE h) {
        TerminateJobObject(h, 1);
        return CloseHandle(h) != FALSE;
    }
};
using UniqueJob = UniqueResource<HANDLE, JobObjectTraits>;

// A change notification from FindFirstChangeNotification.
struct ChangeNotificationTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool close(HANDLE h) { return FindCloseChangeNotification(h) != FALSE; }
};
using UniqueChangeNotification = UniqueResource<HANDLE, ChangeNotificationTraits>;

struct HookTraits {
    static HHOOK empty() { return nullptr; }
    static bool valid(HHOOK h) { return h != nullptr; }
    static bool close(HHOOK h) { return UnhookWindowsHookEx(h) != FALSE; }
};
using UniqueHook = UniqueResource<HHOOK, HookTraits>;

struct MenuTraits {
    static HMENU empty() { return nullptr; }
    static bool valid(HMENU h) { return h != nullptr; }
    static bool close(HMENU h) { return DestroyMenu(h) != FALSE; }
};
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;

struct GlobalMemoryTraits {
    static HGLOBAL empty() { return nullptr; }
    static bool valid(HGLOBAL h) { return h != nullptr; }
    static bool close(HGLOBAL h) { return GlobalFree(h) == nullptr; }
};
using UniqueGlobal = UniqueResource<HGLOBAL, GlobalMemoryTraits>;

struct LibraryTraits {
    static HMODULE empty() { return nullptr; }
    static bool valid(HMODULE h) { return h != nullptr; }
    static bool close(HMODULE h) { return FreeLibrary(h) != FALSE; }
};
using UniqueLibrary = UniqueResource<HMODULE, LibraryTraits>;

struct WindowTraits {
    static HWND empty() { return nullptr; }
    static bool valid(HWND h) { return h != nullptr; }
    static bool close(HWND h) { return DestroyWindow(h) != FALSE; }
};
using UniqueWindow = UniqueResource<HWND, WindowTraits>;

// A directory search of FindFirstFile.
struct FindTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool close(HANDLE h) { return FindClose(h) != FALSE; }
};
using UniqueFind = UniqueResource<HANDLE, FindTraits>;

} // namespace quill
