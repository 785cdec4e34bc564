#pragma once
// File themes: a non-visual component naming a skin file. Skinned controls
// whose UIStyle is FromThemeFile and whose FileTheme names a Ready() file
// theme take their pictures, colours, integers and flags from it; the
// manager translates the item numbers the controls ask for into the skin
// file's entry names.
#include <memory>
#include <string>

#include "base/file_system.h"
#include "framework/core/component.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/color.h"
#include "skin/reader/sk2_skin_file_reader.h"

namespace skin {

// Holds the reader of the skin file last loaded successfully.
class TsuiFileThemeMgr {
public:
  explicit TsuiFileThemeMgr(base::FileSystem& fs = base::NativeFileSystem()) : fs_(fs) {}

  // False, with the current reader kept, when the file does not exist.
  // Otherwise the current reader goes, and the file is read: true when it
  // was read completely; an unusable file (damaged, or protected by another
  // password) leaves no reader and shows nothing to the user.
  bool LoadFromFile(const std::string& path, const std::string& password);

  // Look-ups by item number (taken modulo 128). Without a reader: no
  // picture, flag false, colour and integer 0; a missing entry gives no
  // picture, false, or -1.
  const graphics::TBitmap* GetPicture(int item) const;
  bool GetFlag(int item) const;
  graphics::TColor GetColor(int item) const;
  int GetInteger(int item) const;

  const reader::Tsk2SkinFileReader* Reader() const { return reader_.get(); }

private:
  base::FileSystem& fs_;
  std::unique_ptr<reader::Tsk2SkinFileReader> reader_;
};

class TsuiFileTheme : public framework::TComponent {
public:
  explicit TsuiFileTheme(TComponent* owner);
  ~TsuiFileTheme() override;

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  // The skin file: the path itself, or its file name next to the running
  // executable, in the Windows folder or in the system folder, whichever
  // exists first; ThemeFile() becomes the path found. A name found nowhere
  // changes nothing. After a successful load every skinned control of the
  // owner form that names this theme applies it at once.
  const std::string& ThemeFile() const { return theme_file_; }
  void SetThemeFile(const std::string& path);

  // The skin file was read completely. Written values are ignored (a stored
  // layout may carry one).
  bool Ready() const { return ready_; }
  void SetReady(bool) {}

  // A non-empty password loads the current ThemeFile() again with it; an
  // empty one is only stored.
  const std::string& Password() const { return password_; }
  void SetPassword(const std::string& password);

  // The look-ups are virtual so that the skinned controls reach a file
  // theme through its vtable only (with AsFileTheme): a program that never
  // makes one links neither the theme nor the skin file reader.
  // The reader's bitmap, shared: callers must not keep it past the next
  // load. None when the item is missing or nothing is loaded.
  virtual const graphics::TBitmap* GetPicture(int item) const;
  // frame_count or frame 0: target becomes a copy of the whole picture;
  // otherwise frame number frame (1-based) of frame_count equal frames, cut
  // as ExtractFrame cuts. A missing picture leaves target empty.
  virtual void CopyPicture(int item, graphics::TBitmap& target, int frame_count = 0,
                           int frame = 0) const;
  virtual bool GetFlag(int item) const;
  virtual graphics::TColor GetColor(int item) const;
  virtual int GetInteger(int item) const;

  TsuiFileThemeMgr& Mgr() { return *mgr_; }

private:
  // Sets FileTheme to none and back on the owner form's skinned components
  // that name this theme; true when one of them is a skinned form.
  bool ReapplyToOwnerControls();

  std::unique_ptr<TsuiFileThemeMgr> mgr_;
  std::string theme_file_;
  bool ready_ = false;
  std::string password_;
};

// Where a ThemeFile is looked for, in order: the path itself, then its file
// name part in each of these folders (each ending in a separator; an empty
// one is skipped).
struct TThemeFileFolders {
  std::string executable;
  std::string windows;
  std::string system;
};
// The running platform's folders.
TThemeFileFolders PlatformThemeFileFolders();
// The first candidate that exists, or empty.
std::string FindThemeFile(const std::string& path, const TThemeFileFolders& folders,
                          base::FileSystem& fs);

// How a skinned form's window is made to re-evaluate its frame after its
// theme changed. The skinned form installs it; without one nothing happens.
using TFrameChangeHandler = void (*)(framework::TComponent* form);
void SetFrameChangeHandler(TFrameChangeHandler handler);

}  // namespace skin
