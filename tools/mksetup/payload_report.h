#pragma once
// What `mksetup inspect` tells about an installer: its payload resources,
// the record field by field, the package checksum and every data-model
// violation, as text for people or JSON for scripts.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "installer/setup_record.h"
#include "tools/pe/resource_tree.h"

namespace mksetup {

struct ResourceInfo {
  std::string name;
  bool present = false;
  std::uint64_t size = 0;
  std::optional<std::uint32_t> unpacked_size;  // N of a packed block
};

struct PayloadReport {
  std::vector<ResourceInfo> resources;
  std::unique_ptr<installer::TSetupRecord> record;  // when SETUPINI unpacked
  std::optional<std::uint64_t> package_size;        // when SETUPPACK unpacked
  std::optional<std::uint32_t> package_checksum;
  std::vector<std::string> problems;  // data-model violations, GBK
  std::optional<std::string> failure;  // why the payload could not be read

  // Intact: both resources unpack, the checksum holds, no violations.
  bool Intact() const;
};

// Never throws for a damaged payload: what cannot be read is reported.
PayloadReport InspectPayload(const pe::ResourceTree& resources);

// UTF-8 text for a terminal.
std::string ReportText(const PayloadReport& report);
// One JSON document, texts converted to UTF-8.
std::string ReportJson(const PayloadReport& report);

}  // namespace mksetup
