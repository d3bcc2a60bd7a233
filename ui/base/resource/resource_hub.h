#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/base/resource/font_record.h"

namespace ui {

class Control;
class IRenderContext;
class IRenderFactory;
class ImageInfo;
class MarkupBuilder;

// Makes a control for a markup element name the framework does not know; null when the
// callback does not know it either. The caller owns the control.
using CreateControlCallback = std::function<Control*(const std::wstring& class_name)>;

// The framework's process-wide resources: the resource path, the render factory, global fonts
// (referred to by id, their position in the list), named text colours, global markup classes,
// the cache of decoded images and the cache of parsed child-box markup.
//
// Threads: Start and Stop belong to the thread that calls Start; everything else is safe on any
// thread, because the program's other UI thread draws its windows with the same controls. All
// of it is read and written under one lock, and what is handed out is a copy, except the font
// records and handles (see Stop).
// Lifetime: empty until Start; Stop takes the render factory and the fonts off the hub at once,
// and may be called again (a second Stop does nothing). What windows may still be drawing with,
// the font handles, the font records FontInfo handed out and GDI+, is released as soon as no
// window exists: at once without windows, else when the last one is destroyed, on its thread.
// Colours, classes and cached images stay.
class ResourceHub {
 public:
  ResourceHub() = delete;

  // Held by every window for its whole life, so that a Stop leaves it what it draws with.
  // Safe on any thread.
  class WindowLease {
   public:
    WindowLease();
    ~WindowLease();
    WindowLease(const WindowLease&) = delete;
    WindowLease& operator=(const WindowLease&) = delete;
  };

  // Starts the framework: render factory, resource path (root + theme_folder), the callback,
  // DPI adaptation (when adapt_dpi), the global markup "global.xml" of the theme, the language
  // table (root + language_folder + "\strings.ini") and GDI+. Missing global markup or language
  // files leave those tables empty. The common controls are loaded with a window's first tooltip.
  // Defined by the window layer (kestrum_ui_windowing), which has the back end and the window
  // the global markup is built into: a program that starts the hub links it.
  static void Start(const std::wstring& root, const CreateControlCallback& callback, bool adapt_dpi,
                    const std::wstring& theme_folder, const std::wstring& language_folder);
  static void Stop();

  // Ends in "\" (or "/" when given so); empty before Start.
  static std::wstring ResourcePath();
  // Appends "\" to a non-empty path that ends in neither "\" nor "/".
  static void SetResourcePath(const std::wstring& path);

  // A new context from the render factory; null before Start or after Stop.
  static std::unique_ptr<IRenderContext> MakeRenderContext();

  static CreateControlCallback CreateControl();
  static void SetCreateControlCallback(const CreateControlCallback& callback);

  // Adds a font ("system" is the system's UI face), size in pixels at 96 DPI. The new HFONT,
  // owned by the hub; null, adding nothing, when GDI refuses it. A face longer than a LOGFONT
  // holds is cut to 31 characters.
  static HFONT AddFont(const std::wstring& face, int size, bool bold, bool underline, bool italic);
  // Null for an id outside the list; what is handed out stays valid until Stop releases the
  // fonts.
  static HFONT FontHandle(int id);
  static const FontRecord* FontInfo(int id);
  static int FontCount();

  // value is "#AARRGGBB"; its first character is skipped whatever it is.
  static void AddTextColor(const std::wstring& name, const std::wstring& value);
  // The ARGB value of name; a name never defined is entered with 0 (transparent) first.
  static DWORD ColorValue(const std::wstring& name);
  // Colour names of normal and disabled text ("textdefaultcolor", "textdefaultdisablecolor"
  // unless the global markup names others).
  static std::wstring DefaultTextColor();
  static std::wstring DefaultDisabledTextColor();
  static void SetDefaultTextColor(const std::wstring& name);
  static void SetDefaultDisabledTextColor(const std::wstring& name);

  // Enters or replaces a global class (an attribute list). A global class wins over a window's
  // class of the same name.
  static void AddClass(const std::wstring& name, const std::wstring& attributes);
  // "" when there is no such global class.
  static std::wstring ClassAttributes(const std::wstring& name);

  // The decoded image of path (slashes normalised) while something holds it; never decodes.
  static std::shared_ptr<ImageInfo> CachedImage(const std::wstring& path);
  // The shared decoded image of path, decoded and cached when nothing holds it; empty when the
  // file cannot be decoded (nothing is cached then). The cache entry goes with the last holder.
  // The decoding runs outside the hub's lock; when two threads decode the same file at once,
  // the image the first of them cached is the one both get. See also ImagePreload.
  static std::shared_ptr<ImageInfo> ObtainImage(const std::wstring& path);
  // The order of the image cache: shorter keys first, equal lengths compared from the end.
  static bool KeyLess(const std::wstring& a, const std::wstring& b);

  // The parsed builder of a child-box markup file, by the name its caller used; null when none.
  // Entries are never removed; the builder lives to process exit.
  static std::shared_ptr<MarkupBuilder> CachedBuilder(const std::wstring& file);
  static void CacheBuilder(const std::wstring& file, std::shared_ptr<MarkupBuilder> builder);
  // A new control tree from a child-box markup file, without a window (document-level
  // definitions are not applied). The file is parsed once and its builder cached when it built
  // something; null when nothing was built. The caller owns the tree.
  static Control* BuildBoxFromMarkup(const std::wstring& file,
                                     const CreateControlCallback& callback);
};

}  // namespace ui
