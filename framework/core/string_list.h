#pragma once
// TStringList: an ordered list of GBK texts that says when it changed.
// Controls that build something per line (a group's item buttons, say) own
// one and rebuild from it in OnChange; changes made between BeginUpdate and
// EndUpdate are announced once, at the outermost EndUpdate.
#include <functional>
#include <string>
#include <vector>

namespace framework {

class TStringList {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  // An index outside 0..Count()-1 throws base::Error "List index out of bounds (N)".
  const std::string& Strings(int index) const;
  const std::vector<std::string>& Items() const { return items_; }

  int Add(const std::string& s);
  void Insert(int index, const std::string& s);  // index may be Count()
  void Delete(int index);
  void Put(int index, const std::string& s);
  void Clear();
  // Replaces every line; announced as one change even when equal, as a
  // copy from another list is.
  void Assign(const std::vector<std::string>& lines);
  // The index of the first line equal to s, or -1.
  int IndexOf(const std::string& s) const;

  void BeginUpdate() { ++update_count_; }
  void EndUpdate();

  std::function<void()> OnChange;

private:
  void CheckIndex(int index, int limit) const;
  void Changed();

  std::vector<std::string> items_;
  int update_count_ = 0;
  bool changed_while_updating_ = false;
};

}  // namespace framework
