#pragma once
// Authenticode signatures for built installers. The payload travels in resources, inside the
// image, so an ordinary signature covers it: one changed package byte fails Windows' signature
// check before the installer's own checksum is ever computed. The signing is osslsigncode's (the Debian package
// of that name, which scripts/bootstrap.sh installs); the builder only feeds it and makes sure
// no half-signed file is left where the installer belongs.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace mksetup {

struct SigningOptions {
  // A PEM certificate (its chain may follow it) when `key` is given; else a PKCS#12 file that
  // holds the key and the certificates.
  std::filesystem::path certificate;
  std::optional<std::filesystem::path> key;
  // Holds the password of the key or of the PKCS#12 file, so that it never shows in `ps`.
  std::optional<std::filesystem::path> password_file;
  // An Authenticode time-stamping server. Without a time stamp the signature is only valid
  // while the certificate is.
  std::optional<std::string> timestamp_url;
  // UTF-8. Windows' consent prompt shows the description as the program's name, and the URL
  // as the link behind it; empty ones are left out.
  std::string description;
  std::string url;
};

// The osslsigncode command line that signs `in` into `out` with SHA-256.
std::vector<std::string> SignCommand(const SigningOptions& options,
                                     const std::filesystem::path& in,
                                     const std::filesystem::path& out);

// Writes `image`, signed, to `out`. The unsigned and the signed copy are made under temporary
// names beside `out`, and `out` is replaced only by a complete signed file: on any failure both
// copies are removed and `out` is as it was. Throws base::Error carrying osslsigncode's own
// messages when it fails, or when its result is not a signed image.
void WriteSignedImage(const std::filesystem::path& out, base::ByteView image,
                      const SigningOptions& options);

}  // namespace mksetup
