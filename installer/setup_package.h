#pragma once
// The package: the bytes of every product file, one after another, with no
// names or headers. Only the record's file table says where a file is.
#include <cstdint>
#include <memory>

#include "base/bytes.h"
#include "base/memory_stream.h"
#include "installer/resource_source.h"
#include "installer/setup_record.h"

namespace installer {

// The byte sum of the package in an unsigned 32-bit accumulator that wraps.
std::uint32_t PackageChecksum(base::ByteView bytes);

// Loads SETUPPACK into a new stream that package (the form's member) owns
// from the moment it exists, and unpacks it there. Throws the resource and
// unpacking errors; after a failed unpacking the stream exists but is empty.
void LoadPackage(const ResourceSource& resources, std::unique_ptr<base::MemoryStream>& package);

// Whether the unpacked package matches the record's PackChecksum. Reads the
// whole stream; leaves its position at the end.
bool VerifyPackage(base::MemoryStream& package, std::uint32_t expected);

// The bytes of one file: Size bytes at Offset. Throws when the entry reaches
// past the package (validation refuses such records first).
base::Bytes ReadPackageFile(base::MemoryStream& package, const TSetupFileEntry& entry);

// The same bytes in place, without a copy: what writing a file needs. The
// view lives as long as the package. Throws like ReadPackageFile.
base::ByteView PackageFileBytes(const base::MemoryStream& package, const TSetupFileEntry& entry);

}  // namespace installer
