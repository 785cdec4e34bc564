#include "tools/pe/resource_tree.h"

#include <utility>

namespace pe {
namespace {

// The map slot for `key`. An equal key spelled in other case takes the new spelling: Set() with
// a compiler-style upper-case name then fixes a name that FindResource could not find.
template <typename Map>
typename Map::mapped_type& Slot(Map& map, const ResourceId& key) {
  auto it = map.find(key);
  if (it == map.end()) return map[key];
  if (it->first.AsName() != key.AsName()) {
    auto node = map.extract(it);
    node.key() = key;
    it = map.insert(std::move(node)).position;
  }
  return it->second;
}

}  // namespace

void ResourceTree::Set(const ResourceId& type, const ResourceId& name, std::uint16_t language,
                       ResourceData data) {
  Slot(Slot(types_, type), name)[language] = std::move(data);
}

const ResourceData* ResourceTree::Find(const ResourceId& type, const ResourceId& name) const {
  auto t = types_.find(type);
  if (t == types_.end()) return nullptr;
  auto n = t->second.find(name);
  if (n == t->second.end()) return nullptr;
  return &n->second.begin()->second;
}

const ResourceData* ResourceTree::Find(const ResourceId& type, const ResourceId& name,
                                       std::uint16_t language) const {
  auto t = types_.find(type);
  if (t == types_.end()) return nullptr;
  auto n = t->second.find(name);
  if (n == t->second.end()) return nullptr;
  auto l = n->second.find(language);
  return l == n->second.end() ? nullptr : &l->second;
}

bool ResourceTree::Remove(const ResourceId& type, const ResourceId& name) {
  auto t = types_.find(type);
  if (t == types_.end() || t->second.erase(name) == 0) return false;
  if (t->second.empty()) types_.erase(t);
  return true;
}

std::vector<ResourceTree::Entry> ResourceTree::Entries() const {
  std::vector<Entry> entries;
  for (const auto& [type, names] : types_) {
    for (const auto& [name, languages] : names) {
      for (const auto& [language, data] : languages) {
        entries.push_back({type, name, language, data});
      }
    }
  }
  return entries;
}

std::size_t ResourceTree::Count() const {
  std::size_t count = 0;
  for (const auto& [type, names] : types_) {
    for (const auto& [name, languages] : names) count += languages.size();
  }
  return count;
}

}  // namespace pe
