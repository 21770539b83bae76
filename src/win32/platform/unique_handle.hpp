#pragma once

// Move-only owners of the Win32 layer's handles. Each knows the value its creator returns on
// failure, so "no handle" is never closed; copying is deleted, because two copies would close
// one handle twice.
#include <windows.h>

#include <utility>

namespace pal4::win32 {

// OpenProcess, CreateProcess and CreatePipe give NULL for no handle.
struct KernelHandleTraits {
    static HANDLE invalid() noexcept { return nullptr; }
    static void close(HANDLE handle) noexcept { CloseHandle(handle); }
};

// CreateToolhelp32Snapshot returns INVALID_HANDLE_VALUE when it fails, and so do the file APIs.
struct SnapshotHandleTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE handle) noexcept { CloseHandle(handle); }
};

template <typename Traits> class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    HANDLE get() const noexcept { return handle_; }
    bool valid() const noexcept { return handle_ != Traits::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without closing: the handle travels on (through a port) and someone
    // else closes it.
    [[nodiscard]] HANDLE release() noexcept { return std::exchange(handle_, Traits::invalid()); }

    void reset(HANDLE handle = Traits::invalid()) noexcept {
        const HANDLE old = std::exchange(handle_, handle);
        if (old != Traits::invalid()) {
            Traits::close(old);
        }
    }

private:
    HANDLE handle_ = Traits::invalid();
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueProcessHandle = UniqueKernelHandle;
using UniqueSnapshotHandle = UniqueHandle<SnapshotHandleTraits>;

// A GDI object of one type (a font, a brush), deleted once.
template <typename Object> class UniqueGdiHandle {
public:
    UniqueGdiHandle() noexcept = default;
    explicit UniqueGdiHandle(Object object) noexcept : object_(object) {}
    UniqueGdiHandle(const UniqueGdiHandle&) = delete;
    UniqueGdiHandle& operator=(const UniqueGdiHandle&) = delete;
    UniqueGdiHandle(UniqueGdiHandle&& other) noexcept : object_(other.release()) {}
    UniqueGdiHandle& operator=(UniqueGdiHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueGdiHandle() { reset(); }

    Object get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    [[nodiscard]] Object release() noexcept { return std::exchange(object_, nullptr); }
    void reset(Object object = nullptr) noexcept {
        const Object old = std::exchange(object_, object);
        if (old != nullptr) {
            DeleteObject(old);
        }
    }

private:
    Object object_ = nullptr;
};

using UniqueFontHandle = UniqueGdiHandle<HFONT>;
using UniqueBrushHandle = UniqueGdiHandle<HBRUSH>;
using UniqueBitmapHandle = UniqueGdiHandle<HBITMAP>;

// A memory device context from CreateCompatibleDC, deleted with DeleteDC (not ReleaseDC).
// Select objects into it through SelectedObject, declared after it, so they are put back
// before the DC goes.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) noexcept : dc_(CreateCompatibleDC(compatibleWith)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    MemoryDc(MemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    MemoryDc& operator=(MemoryDc&&) = delete;
    ~MemoryDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// The device context of a window (or of the screen, with no window) from GetDC, handed back
// with ReleaseDC to the same window.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object (a font, a brush, a pen or a bitmap; not a region) into a DC and puts the
// previous one back: a DC must not be released or
// deleted, nor the selected font deleted, while the DC still holds an object of the caller's.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    SelectedObject(SelectedObject&& other) noexcept
        : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
    SelectedObject& operator=(SelectedObject&&) = delete;
    ~SelectedObject() {
        // SelectObject returns NULL when the selection failed: then there is nothing to put back.
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
    }

    bool selected() const noexcept { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace pal4::win32
