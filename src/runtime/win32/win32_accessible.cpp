#include "runtime/win32/win32_accessible.h"

// <windows.h> first, in a block of its own: the headers after it need its types.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <new>
#include <utility>

// Interface ids are taken with __uuidof throughout: 64-bit mingw's oleacc
// import library offers IID_IAccessible as a function, which would link
// without complaint and pass its code bytes for the id.

namespace pigmo::runtime::win32 {

// The system's object for the control, to which every call goes except the
// name and description of the control itself where the window gives them.
// Once disconnected, every call fails with CO_E_OBJNOTCONNECTED.
class AccessibleControl::Object final : public IAccessible, public IOleWindow {
 public:
  Object(AccessibleControl* owner, IAccessible* standard) : owner_(owner), standard_(standard) {}

  void Disconnect() {
    owner_ = nullptr;
    if (standard_ != nullptr) standard_->Release();
    standard_ = nullptr;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible))) {
      *out = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(iid, __uuidof(IOleWindow))) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch. Late binding would reach the system's object past the words
  // below, so it is not offered; screen readers call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return Say(&AccessibleControl::name_, child, out, &IAccessible::get_accName);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return Say(&AccessibleControl::description_, child, out, &IAccessible::get_accDescription);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
    return Forward(&IAccessible::get_accParent, out);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) override {
    return Forward(&IAccessible::get_accChildCount, out);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return Forward(&IAccessible::get_accChild, child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return Forward(&IAccessible::get_accValue, child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return Forward(&IAccessible::get_accRole, child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return Forward(&IAccessible::get_accState, child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return Forward(&IAccessible::get_accHelp, child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return Forward(&IAccessible::get_accHelpTopic, file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return Forward(&IAccessible::get_accKeyboardShortcut, child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override { return Forward(&IAccessible::get_accFocus, out); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    return Forward(&IAccessible::get_accSelection, out);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Forward(&IAccessible::get_accDefaultAction, child, out);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return Forward(&IAccessible::accSelect, flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    return Forward(&IAccessible::accLocation, left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
    return Forward(&IAccessible::accNavigate, direction, start, out);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    return Forward(&IAccessible::accHitTest, x, y, out);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return Forward(&IAccessible::accDoDefaultAction, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return Forward(&IAccessible::put_accName, child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return Forward(&IAccessible::put_accValue, child, value);
  }

  // IOleWindow: the control, for WindowFromAccessibleObject.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (out == nullptr) return E_POINTER;
    if (owner_ == nullptr) return CO_E_OBJNOTCONNECTED;
    *out = owner_->hwnd_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

 private:
  ~Object() { Disconnect(); }

  template <class Method, class... Args>
  HRESULT Forward(Method method, Args... args) {
    return standard_ != nullptr ? (standard_->*method)(args...) : CO_E_OBJNOTCONNECTED;
  }

  // The window's words for the control itself, else the system's.
  template <class Method>
  HRESULT Say(Words AccessibleControl::*words, VARIANT child, BSTR* out, Method fallback) {
    if (owner_ == nullptr || standard_ == nullptr) return CO_E_OBJNOTCONNECTED;
    if (out == nullptr) return E_POINTER;
    const Words& given = owner_->*words;
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF || !given) return (standard_->*fallback)(child, out);
    try {  // nothing unwinds into the caller
      const std::u16string said = given();
      *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(said.data()), static_cast<UINT>(said.size()));
      return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
      *out = nullptr;
      return E_FAIL;
    }
  }

  LONG references_ = 1;
  AccessibleControl* owner_;
  IAccessible* standard_;
};

struct AccessibleControl::Subclass {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR self) {
    // The client area's object; any other (the window's frame, UI
    // Automation's) is the system's.
    if (message == WM_GETOBJECT && static_cast<LONG>(lparam) == OBJID_CLIENT) {
      auto& control = *reinterpret_cast<AccessibleControl*>(self);
      if (control.object_ == nullptr) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard)))) {
          control.object_ = new (std::nothrow) Object(&control, standard);
          if (control.object_ == nullptr) standard->Release();
        }
      }
      if (control.object_ != nullptr) {
        const LRESULT answer =
            LresultFromObject(__uuidof(IAccessible), wparam, static_cast<IAccessible*>(control.object_));
        // Not positive: an error (COM is not set up on this thread); the
        // system's own object answers instead.
        if (answer > 0) return answer;
      }
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
};

AccessibleControl::AccessibleControl(HWND hwnd, Words name, Words description)
    : hwnd_(hwnd), name_(std::move(name)), description_(std::move(description)) {
  SetWindowSubclass(hwnd_, &Subclass::Proc, 0, reinterpret_cast<DWORD_PTR>(this));
}

AccessibleControl::~AccessibleControl() { Disconnect(); }

void AccessibleControl::Disconnect() {
  if (hwnd_ != nullptr) RemoveWindowSubclass(hwnd_, &Subclass::Proc, 0);
  hwnd_ = nullptr;
  if (object_ == nullptr) return;
  object_->Disconnect();
  // Screen readers in other processes hold it through COM: their hold ends.
  CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
  object_->Release();
  object_ = nullptr;
}

}  // namespace pigmo::runtime::win32
