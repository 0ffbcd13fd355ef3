#pragma once
#include <windows.h>
#include <memory>
#include <unordered_map>

// Owns one GDI object and deletes it when it goes. The pointers that
// CDC::SelectObject hands back are non-owning wrappers of the previously
// selected object (see FromHandle in the derived classes).
class CGdiObject {
public:
    HGDIOBJ m_hObject = nullptr;

    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Takes ownership, releasing the object held before.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }

protected:
    CGdiObject() = default;
};

// Non-owning wrappers for handles that no object of ours owns: one per handle,
// kept for the thread's life. They own nothing, so keeping them costs a few
// bytes, and a pointer to one stays valid however long a caller holds it (a
// memory DC's original bitmap is put back long after it was taken out).
template <class T, class H>
T* AfxTemporaryGdiObject(H hObject)
{
    struct Wrapper : T {
        ~Wrapper() override { this->Detach(); }
    };
    if (!hObject)
        return nullptr;
    thread_local std::unordered_map<H, std::unique_ptr<Wrapper>> wrappers;
    std::unique_ptr<Wrapper>& wrapper = wrappers[hObject];
    if (!wrapper) {
        wrapper.reset(new Wrapper);
        wrapper->Attach(hObject);
    }
    return wrapper.get();
}
