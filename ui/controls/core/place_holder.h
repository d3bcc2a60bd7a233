#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/base/callback/weak_callback.h"

namespace ui {

class Box;
class IRenderContext;
class Window;

// Sizes a layout reads from fixed width/height: a non-negative pixel count or one of these.
constexpr int kSizeStretch = -1;  // take what the parent gives
constexpr int kSizeAuto = -2;     // measure the content
constexpr int kDefaultMaxSize = 9999999;

// A node of a window's control tree: name, owning window, parent box, size rules, position,
// alignment, visibility, and the flags that drive re-layout and repainting. Draws nothing and
// handles no input; ui::Control builds on it.
//
// Threads: the thread that owns the window only; nothing is locked.
// Ownership: a node is owned by its parent box, the root by its window; window and parent are
// plain back-pointers. All sizes are device pixels.
class PlaceHolder : public virtual kbase::SupportWeakCallback {
 public:
  PlaceHolder();
  ~PlaceHolder() override;
  PlaceHolder(const PlaceHolder&) = delete;
  PlaceHolder& operator=(const PlaceHolder&) = delete;

  virtual Window* GetWindow() const { return window_; }
  // Stores the window and nothing else.
  virtual void SetWindowOnly(Window* window) { window_ = window; }
  // Stores window and parent; runs Init when init is true and there is a parent.
  virtual void SetWindow(Window* window, Box* parent, bool init);
  virtual void Init() { DoInit(); }
  // Hook for subclasses that need the window at attachment.
  virtual void DoInit() {}
  // Own visibility and the one imposed by ancestors.
  virtual bool IsVisible() const { return visible_ && intern_visible_; }
  // {fixed width, fixed height} unchanged, -1 and -2 included.
  virtual SIZE EstimateSize(SIZE available);
  virtual RECT GetPos(bool contain_shadow = true) const;
  virtual void SetPos(RECT rect);
  // Re-lays out from the parent when this node is "auto" in either direction, else itself.
  virtual void Arrange();
  // A change of this node may change its parent's layout: re-arranges the nearest ancestor that
  // is not "auto" (the root when all are).
  virtual void ArrangeAncestor();
  // Repaints the node's rectangle, shifted back by the ancestors' scroll position. Hidden nodes
  // do nothing.
  virtual void Invalidate();
  // Marks the node for a new layout pass and repaint. Hidden nodes do nothing.
  virtual void ArrangeSelf();

  std::wstring GetName() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }
  Box* GetParent() const { return parent_; }

  int GetFixedWidth() const { return fixed_width_; }
  int GetFixedHeight() const { return fixed_height_; }
  // Accepts -1, -2 or >= 0 (other values are ignored); values >= 1 are DPI-scaled when
  // scale_dpi. A change re-lays out the ancestor when arrange, else only marks re-estimation.
  void SetFixedWidth(int width, bool arrange, bool scale_dpi);
  // As SetFixedWidth; a change always re-lays out the ancestor.
  void SetFixedHeight(int height, bool scale_dpi);
  int GetMinWidth() const { return min_width_; }
  int GetMinHeight() const { return min_height_; }
  // DPI-scaled; negative values are ignored.
  void SetMinWidth(int width);
  void SetMinHeight(int height);
  int GetMaxWidth() const { return max_width_; }
  int GetMaxHeight() const { return max_height_; }
  // DPI-scaled except the -1 "stretch" and -2 "auto" markers; a negative maximum means no
  // limit in either direction.
  void SetMaxWidth(int width);
  void SetMaxHeight(int height);

  int GetHorAlign() const { return hor_align_; }  // 0 left, 1 center, 2 right
  int GetVerAlign() const { return ver_align_; }  // 0 top, 1 center, 2 bottom
  void SetHorAlign(int align);
  void SetVerAlign(int align);
  bool IsFloat() const { return is_float_; }
  bool IsUseCache() const { return use_cache_; }
  bool IsCacheDirty() const { return cache_dirty_; }
  bool IsArrangeNeeded() const { return arrange_needed_; }
  // Whether this node or one below it may be marked for layout (set when a mark is made or a
  // marked node is attached, cleared by the window's search once it found none below).
  bool IsArrangePending() const { return arrange_needed_ || arrange_pending_below_; }
  void SetArrangePendingBelow(bool value) { arrange_pending_below_ = value; }
  bool IsReEstimateSize() const { return re_estimate_size_; }
  void SetReEstimateSize(bool value) { re_estimate_size_ = value; }

  // How far the nearest scrolling ancestor has scrolled; {0, 0} without one.
  SIZE GetAncestorScrollPos() const;

 protected:
  // Re-layout after a size rule changed: Arrange for a float node, ArrangeAncestor otherwise.
  void ArrangeForSizeRule();
  // The boxes whose layouts placed this node (the parent, and above it every "auto" ancestor
  // whose size follows it) forget that placement: the node may now land elsewhere.
  void ForgetPlacementAbove();
  // Tells every ancestor that a node below it is marked for layout.
  void NoteArrangePendingAbove();
  // Invalidates rect of window: what its next paint draws again.
  static void InvalidateWindowRect(Window* window, const RECT& rect);

  std::wstring name_;
  Window* window_ = nullptr;
  Box* parent_ = nullptr;
  int fixed_width_ = kSizeStretch;
  int fixed_height_ = kSizeStretch;
  int min_width_ = -1;
  int min_height_ = -1;
  int max_width_ = kDefaultMaxSize;
  int max_height_ = kDefaultMaxSize;
  RECT pos_ = {0, 0, 0, 0};
  int hor_align_ = 0;
  int ver_align_ = 0;
  bool is_float_ = false;
  bool re_estimate_size_ = true;
  bool visible_ = true;
  bool intern_visible_ = true;
  bool arrange_needed_ = true;
  bool arrange_pending_below_ = false;
  bool use_cache_ = false;
  bool cache_dirty_ = false;
  std::unique_ptr<IRenderContext> cache_render_context_;
};

}  // namespace ui
