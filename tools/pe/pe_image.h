#pragma once
// A PE image (PE32 or PE32+) held in memory with its validated headers.
#include <utility>

#include "base/bytes.h"
#include "tools/pe/pe_headers.h"
#include "tools/pe/resource_tree.h"

namespace pe {

class PeImage {
public:
  // Throws base::Error when the headers or the section table are malformed.
  static PeImage Parse(base::Bytes file);

  // Throws base::Error when the resource directory is malformed; empty when there is none.
  ResourceTree ReadResources() const;

  const base::Bytes& Data() const { return file_; }
  const PeHeaders& Headers() const { return headers_; }

private:
  PeImage(base::Bytes file, PeHeaders headers)
      : file_(std::move(file)), headers_(std::move(headers)) {}

  base::Bytes file_;
  PeHeaders headers_;
};

}  // namespace pe
