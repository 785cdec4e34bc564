#pragma once
// The resources of an image as a tree of type -> name -> language -> data, the shape of the
// resource directory itself. The maps keep directory order, so iterating lists resources in
// the order they are stored.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "base/bytes.h"
#include "tools/pe/resource_id.h"

namespace pe {

struct ResourceData {
  base::Bytes bytes;
  std::uint32_t codepage = 0;

  bool operator==(const ResourceData&) const = default;
};

class ResourceTree {
public:
  using LanguageMap = std::map<std::uint16_t, ResourceData>;
  using NameMap = std::map<ResourceId, LanguageMap>;
  using TypeMap = std::map<ResourceId, NameMap>;

  // One resource in one language, as listed by Entries().
  struct Entry {
    const ResourceId& type;
    const ResourceId& name;
    std::uint16_t language;
    const ResourceData& data;
  };

  // Adds the resource or replaces it in that language; other languages stay.
  void Set(const ResourceId& type, const ResourceId& name, std::uint16_t language,
           ResourceData data);
  // The resource in its first language, the one Windows falls back to when none of the
  // preferred languages exists; null when there is none.
  const ResourceData* Find(const ResourceId& type, const ResourceId& name) const;
  const ResourceData* Find(const ResourceId& type, const ResourceId& name,
                           std::uint16_t language) const;
  // Removes the resource in all its languages; false when there was none.
  bool Remove(const ResourceId& type, const ResourceId& name);

  const TypeMap& Types() const { return types_; }
  std::vector<Entry> Entries() const;
  // Number of resources, counting each language.
  std::size_t Count() const;
  bool Empty() const { return types_.empty(); }

  bool operator==(const ResourceTree&) const = default;

private:
  // Never holds an empty inner map, so equal content means equal trees.
  TypeMap types_;
};

}  // namespace pe
