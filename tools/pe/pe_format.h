#pragma once
// Offsets and constants of the PE/COFF structures this library touches. Fields are read and
// written with base::GetU16/GetU32/PutU16/PutU32 at these offsets rather than through overlaid
// structs: offsets come from the input, so nothing guarantees their alignment.
#include <cstddef>
#include <cstdint>

namespace pe::format {

// MS-DOS stub header; only its magic and the pointer to the PE signature matter.
inline constexpr std::size_t kDosHeaderSize = 64;
inline constexpr std::uint16_t kDosMagic = 0x5A4D;  // "MZ"
inline constexpr std::size_t kDosPeOffsetField = 0x3C;

inline constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
inline constexpr std::size_t kPeSignatureSize = 4;

// COFF file header, right after the signature.
inline constexpr std::size_t kCoffHeaderSize = 20;
inline constexpr std::size_t kCoffMachine = 0;
inline constexpr std::size_t kCoffNumberOfSections = 2;
inline constexpr std::size_t kCoffPointerToSymbolTable = 8;
inline constexpr std::size_t kCoffNumberOfSymbols = 12;
inline constexpr std::size_t kCoffSymbolSize = 18;
inline constexpr std::size_t kCoffSizeOfOptionalHeader = 16;

// Optional header. PE32 and PE32+ share every offset used here except where the data
// directories start (PE32+ has a 64-bit ImageBase and 64-bit stack/heap sizes).
inline constexpr std::uint16_t kMagicPe32 = 0x10B;
inline constexpr std::uint16_t kMagicPe32Plus = 0x20B;
inline constexpr std::size_t kOptMagic = 0;
inline constexpr std::size_t kOptSizeOfInitializedData = 8;
inline constexpr std::size_t kOptImageBasePe32 = 28;      // 32 bits, after BaseOfData
inline constexpr std::size_t kOptImageBasePe32Plus = 24;  // 64 bits, in place of BaseOfData
inline constexpr std::size_t kOptSectionAlignment = 32;
inline constexpr std::size_t kOptFileAlignment = 36;
inline constexpr std::size_t kOptSizeOfImage = 56;
inline constexpr std::size_t kOptSizeOfHeaders = 60;
inline constexpr std::size_t kOptCheckSum = 64;
inline constexpr std::size_t kOptNumberOfRvaAndSizesPe32 = 92;
inline constexpr std::size_t kOptDataDirectoriesPe32 = 96;
inline constexpr std::size_t kOptNumberOfRvaAndSizesPe32Plus = 108;
inline constexpr std::size_t kOptDataDirectoriesPe32Plus = 112;

// Data directories: {RVA, size} pairs. The security entry is the exception whose "RVA" is a file
// offset, since certificates are not mapped.
inline constexpr std::size_t kDataDirectorySize = 8;
inline constexpr std::size_t kMaxDataDirectories = 16;
inline constexpr std::size_t kDirectoryImport = 1;
inline constexpr std::size_t kDirectoryResource = 2;
inline constexpr std::size_t kDirectorySecurity = 4;
inline constexpr std::size_t kDirectoryBaseReloc = 5;
inline constexpr std::size_t kDirectoryDebug = 6;
inline constexpr std::size_t kDirectoryDelayImport = 13;

// Base relocation table: blocks of a page RVA, the block's size in bytes (header included) and
// 16-bit entries, each a type in the top 4 bits and the offset within the page below them.
inline constexpr std::size_t kRelocBlockHeaderSize = 8;
inline constexpr std::size_t kRelocBlockPageRva = 0;
inline constexpr std::size_t kRelocBlockSize = 4;
inline constexpr std::size_t kRelocEntrySize = 2;
inline constexpr unsigned kRelocTypeShift = 12;
inline constexpr std::uint16_t kRelocOffsetMask = 0x0FFF;
inline constexpr unsigned kRelBasedAbsolute = 0;  // Padding; fixes nothing.
inline constexpr unsigned kRelBasedHigh = 1;
inline constexpr unsigned kRelBasedLow = 2;
inline constexpr unsigned kRelBasedHighLow = 3;
inline constexpr unsigned kRelBasedHighAdj = 4;  // Takes the next entry as its parameter.
inline constexpr unsigned kRelBasedDir64 = 10;

// Import directory: 20-byte descriptors; the terminator is all zero.
inline constexpr std::size_t kImportDescriptorSize = 20;
inline constexpr std::size_t kImportName = 12;

// Delay-load import directory: 32-byte descriptors up to one without a name. Attributes bit 0
// clear marks the first version of the format, whose addresses are VAs rather than RVAs.
inline constexpr std::size_t kDelayDescriptorSize = 32;
inline constexpr std::size_t kDelayAttributes = 0;
inline constexpr std::size_t kDelayDllName = 4;
inline constexpr std::uint32_t kDelayRvaBased = 0x1;

// Section header.
inline constexpr std::size_t kSectionHeaderSize = 40;
inline constexpr std::size_t kSectionNameSize = 8;
inline constexpr std::size_t kSecVirtualSize = 8;
inline constexpr std::size_t kSecVirtualAddress = 12;
inline constexpr std::size_t kSecSizeOfRawData = 16;
inline constexpr std::size_t kSecPointerToRawData = 20;
inline constexpr std::size_t kSecCharacteristics = 36;
inline constexpr std::uint32_t kScnCntInitializedData = 0x00000040;
inline constexpr std::uint32_t kScnMemRead = 0x40000000;

// Resource directory table, its entries and the data entries at the leaves.
inline constexpr std::size_t kResDirectorySize = 16;
inline constexpr std::size_t kResDirNumberOfNamedEntries = 12;
inline constexpr std::size_t kResDirNumberOfIdEntries = 14;
inline constexpr std::size_t kResEntrySize = 8;
inline constexpr std::size_t kResDataEntrySize = 16;
inline constexpr std::size_t kResDataRva = 0;
inline constexpr std::size_t kResDataSize = 4;
inline constexpr std::size_t kResDataCodePage = 8;
inline constexpr std::size_t kResDataReserved = 12;
// In an entry's name field the bit marks a name-string offset; in its offset field, a
// subdirectory rather than a data entry.
inline constexpr std::uint32_t kResHighBit = 0x80000000;

}  // namespace pe::format
