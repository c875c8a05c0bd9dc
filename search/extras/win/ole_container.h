// A minimal in-place container for one hosted control (the media player, the HTML control). The
// control's download settings come from the host's ambient properties.
#pragma once
#include <ole2.h>
#include <windows.h>

namespace sercavo {

class OleContainer {
 public:
  OleContainer() = default;
  OleContainer(const OleContainer&) = delete;
  OleContainer& operator=(const OleContainer&) = delete;
  ~OleContainer() { Destroy(); }

  // Creates the control in a child window of parent; false when the control is not on this system.
  // downloadControl: the DLCTL_ flags the control reads from its site (0: the control's defaults).
  // lockedDown: the site's security manager disallows every URL action of active content.
  bool Create(HWND parent, REFCLSID clsid, DWORD downloadControl, bool lockedDown = false);
  void Destroy();
  bool created() const { return object_ != nullptr; }
  HWND window() const { return window_; }
  // An interface of the control (released by the caller), or null.
  template <typename T>
  T* Get(REFIID iid) const {
    void* p = nullptr;
    return object_ && SUCCEEDED(object_->QueryInterface(iid, &p)) ? static_cast<T*>(p) : nullptr;
  }
  void Move(const RECT& r);
  void Show(bool on);

 private:
  class Site;
  HWND window_ = nullptr;
  IOleObject* object_ = nullptr;
  Site* site_ = nullptr;
};

}  // namespace sercavo
