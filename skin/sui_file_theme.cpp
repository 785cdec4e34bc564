#include "skin/sui_file_theme.h"

#include "base/error.h"
#include "base/gbk_text.h"
#include "framework/core/rtti.h"
#include "skin/skin_draw.h"
#include "skin/sui_skin_items.h"

namespace skin {
namespace {

TFrameChangeHandler& FrameChangeHandler() {
  static TFrameChangeHandler handler = nullptr;
  return handler;
}

// The part of path after its last separator or drive colon, found at
// character starts only (a GBK trail byte can be a backslash).
std::string FileNamePart(const std::string& path) {
  std::size_t start = 0;
  base::ForEachGbkChar(path, [&](std::size_t i) {
    if (path[i] == '\\' || path[i] == '/' || path[i] == ':') start = i + 1;
    return true;
  });
  return path.substr(start);
}

// Class names of the owner's components are compared with case, as the
// skinned classes spell them.
bool IsSkinnedClass(const framework::TComponent& c) {
  return c.ClassInfo().ClassName().rfind("Tsui", 0) == 0;
}

// By name: forms and skinned forms are layers above this one.
bool InheritsFromNamed(const framework::TComponent& c, std::string_view class_name) {
  return c.ClassInfo().InheritsFrom(class_name);
}

}  // namespace

// ---------------------------------------------------------------------------
// TsuiFileThemeMgr

bool TsuiFileThemeMgr::LoadFromFile(const std::string& path, const std::string& password) {
  if (!fs_.FileExists(path)) return false;
  reader_.reset();
  try {
    reader_ = std::make_unique<reader::Tsk2SkinFileReader>(path, password, fs_);
  } catch (const base::Error&) {
    return false;  // not a usable skin file: simply no theme
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!reader_->Complete()) {
    reader_.reset();
    return false;
  }
  return true;
}

const graphics::TBitmap* TsuiFileThemeMgr::GetPicture(int item) const {
  if (!reader_) return nullptr;
  const auto name = SkinItemName(TSkinItemKind::Picture, item);
  return name ? reader_->FindBitmap(*name) : nullptr;
}

bool TsuiFileThemeMgr::GetFlag(int item) const {
  if (!reader_) return false;
  const auto name = SkinItemName(TSkinItemKind::Flag, item);
  return name && reader_->ReadBool(*name);
}

graphics::TColor TsuiFileThemeMgr::GetColor(int item) const {
  if (!reader_) return 0;
  const auto name = SkinItemName(TSkinItemKind::Color, item);
  return static_cast<graphics::TColor>(name ? reader_->ReadInteger(*name) : -1);
}

int TsuiFileThemeMgr::GetInteger(int item) const {
  if (!reader_) return 0;
  const auto name = SkinItemName(TSkinItemKind::Integer, item);
  return name ? reader_->ReadInteger(*name) : -1;
}

// ---------------------------------------------------------------------------
// TsuiFileTheme

TsuiFileTheme::TsuiFileTheme(TComponent* owner)
    : framework::TComponent(owner), mgr_(std::make_unique<TsuiFileThemeMgr>()) {}

// Controls naming this theme hear of its removal from the component model
// (free notifications) and fall back to DeepBlue.
TsuiFileTheme::~TsuiFileTheme() = default;

void TsuiFileTheme::SetThemeFile(const std::string& path) {
  const bool was_empty = theme_file_.empty();
  const std::string found = FindThemeFile(path, PlatformThemeFileFolders(), base::NativeFileSystem());
  if (found.empty()) return;
  theme_file_ = found;
  ready_ = mgr_->LoadFromFile(theme_file_, password_);
  if (!ready_) return;
  const bool skinned_form = ReapplyToOwnerControls();
  if (skinned_form && !was_empty && FrameChangeHandler()) FrameChangeHandler()(Owner());
}

void TsuiFileTheme::SetPassword(const std::string& password) {
  password_ = password;
  if (!password_.empty()) SetThemeFile(theme_file_);
}

const graphics::TBitmap* TsuiFileTheme::GetPicture(int item) const {
  return mgr_->GetPicture(item);
}
bool TsuiFileTheme::GetFlag(int item) const { return mgr_->GetFlag(item); }
graphics::TColor TsuiFileTheme::GetColor(int item) const { return mgr_->GetColor(item); }
int TsuiFileTheme::GetInteger(int item) const { return mgr_->GetInteger(item); }

void TsuiFileTheme::CopyPicture(int item, graphics::TBitmap& target, int frame_count,
                                int frame) const {
  const graphics::TBitmap* picture = GetPicture(item);
  if (!picture) {
    target = graphics::TBitmap();
    return;
  }
  if (frame_count == 0 || frame == 0) {
    target = *picture;
  } else {
    ExtractFrame(*picture, target, frame_count, frame);
  }
}

bool TsuiFileTheme::ReapplyToOwnerControls() {
  TComponent* form = Owner();
  if (!form || !InheritsFromNamed(*form, "TCustomForm")) return false;
  bool skinned_form = false;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    TComponent* c = form->Components(i);
    if (!IsSkinnedClass(*c) || !framework::HasPublishedProperty(*c, "FileTheme")) continue;
    const framework::TPropValue value = framework::GetPropertyValue(*c, "FileTheme");
    const auto* named = std::get_if<TComponent*>(&value);
    if (!named || *named != this) continue;
    // Through the setter, twice: a control applies its theme when the
    // property changes, so the new pictures show at once.
    framework::SetPropertyValue(*c, "FileTheme", static_cast<TComponent*>(nullptr));
    framework::SetPropertyValue(*c, "FileTheme", static_cast<TComponent*>(this));
    if (InheritsFromNamed(*c, "TsuiForm")) skinned_form = true;
  }
  return skinned_form;
}

const framework::TClassInfo& TsuiFileTheme::StaticClassInfo() {
  // ThemeFile comes before Password: a stored encrypted theme is first
  // tried without its password (and quietly fails), then loaded again when
  // the password arrives.
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiFileTheme, framework::TComponent>("TsuiFileTheme")
          .Factory()
          .Prop("ThemeFile", &TsuiFileTheme::ThemeFile, &TsuiFileTheme::SetThemeFile)
          .Prop("Ready", &TsuiFileTheme::Ready, &TsuiFileTheme::SetReady)
          .Prop("Password", &TsuiFileTheme::Password, &TsuiFileTheme::SetPassword)
          .Done();
  return info;
}

const framework::TClassInfo& TsuiFileTheme::ClassInfo() const { return StaticClassInfo(); }

// ---------------------------------------------------------------------------
// Finding the skin file

std::string FindThemeFile(const std::string& path, const TThemeFileFolders& folders,
                          base::FileSystem& fs) {
  if (path.empty()) return {};
  if (fs.FileExists(path)) return path;
  const std::string name = FileNamePart(path);
  if (name.empty()) return {};
  for (const std::string* folder : {&folders.executable, &folders.windows, &folders.system}) {
    if (folder->empty()) continue;
    const std::string candidate = *folder + name;
    if (fs.FileExists(candidate)) return candidate;
  }
  return {};
}

void SetFrameChangeHandler(TFrameChangeHandler handler) { FrameChangeHandler() = handler; }

}  // namespace skin
