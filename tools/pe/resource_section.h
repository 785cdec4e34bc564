#pragma once
// Serializing a ResourceTree into the bytes of a resource section.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "tools/pe/resource_tree.h"

namespace pe {

// Lays the section out the way resource compilers do: every directory table, breadth first
// (root, then the name tables, then the language tables), then the name strings, the data
// entries and finally the data, each blob 8-byte aligned. Entries appear in ResourceId order,
// names before numbers, which is the order Windows' binary search needs.
//
// Size is known before writing so the caller can place the section and write it straight into
// the output file: a payload of hundreds of megabytes is copied once.
class ResourceSectionBuilder {
public:
  // Throws base::Error when the tree cannot be represented: a directory with more than 65535
  // named or numbered entries, a name longer than 65535 code units, or more than 2 GiB in total.
  // The tree must outlive the builder.
  explicit ResourceSectionBuilder(const ResourceTree& tree);

  std::uint32_t Size() const { return size_; }
  // Writes the section for loading at `section_rva` (data entries hold absolute RVAs) into
  // `out`, which must be Size() bytes.
  void Write(std::uint32_t section_rva, std::span<std::uint8_t> out) const;

private:
  std::uint32_t IdField(const ResourceId& id) const;

  const ResourceTree& tree_;
  std::vector<std::uint32_t> name_tables_;      // One per type.
  std::vector<std::uint32_t> language_tables_;  // One per type and name.
  std::map<std::u16string, std::uint32_t> strings_;
  std::uint32_t strings_end_ = 0;
  std::uint32_t data_entries_ = 0;
  std::vector<std::uint32_t> blobs_;  // One per resource, in Entries() order.
  std::uint32_t size_ = 0;
};

}  // namespace pe
