#!/usr/bin/env python3
"""Authenticode signing of built installers, checked with osslsigncode on Linux.

The payload travels in the installer's resources, so the signature must cover it: one changed
byte of the package has to fail verification. The signed file must still be an installer
mksetup reads, with the signature where Windows looks for it (the security directory entry,
8-byte aligned, at the end of the file) and a correct PE checksum. Embedding into a signed file
drops its signature, and mksetup says so. A failing signing step must fail the build with
osslsigncode's message and leave nothing where the installer belongs; those cases run with
stand-ins for osslsigncode, so they run even where osslsigncode is missing.

Exits 77 (the test's SKIP_RETURN_CODE) when osslsigncode or openssl is missing;
scripts/bootstrap.sh installs both, so in CI this test runs.

  signing_test.py --mksetup MKSETUP --stub SETUP.exe --manifest setup.toml [--uninstaller EXE]
"""
import argparse
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

SKIP = 77

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, file=sys.stderr)
    return condition


def run(args, env=None):
    return subprocess.run([str(a) for a in args], capture_output=True, text=True, env=env)


# --- The PE fields Windows reads to find and check a signature ------------------------------

def pe_layout(data):
    """(offset of the CheckSum field, security directory (offset, size))."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 4 + 20
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    count = struct.unpack_from("<I", data, optional + (108 if magic == 0x20B else 92))[0]
    security = struct.unpack_from("<II", data, directories + 4 * 8) if count > 4 else (0, 0)
    return optional + 64, security


def pe_checksum(data, field):
    """The optional header's CheckSum as Windows computes it (the field itself counts as 0)."""
    total = 0
    padded = data + b"\0" if len(data) % 2 else data
    for (word,) in struct.iter_unpack("<H", padded):
        total += word
    total -= struct.unpack_from("<H", data, field)[0] + struct.unpack_from("<H", data, field + 2)[0]
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def signature_problems(path):
    """What a Windows loader and WinVerifyTrust would object to in the signed file's layout."""
    data = path.read_bytes()
    field, (offset, size) = pe_layout(data)
    problems = []
    if size == 0:
        return ["no certificate table"]
    if offset % 8:
        problems.append("certificate table at 0x%x is not 8-byte aligned" % offset)
    if offset + size != len(data):
        problems.append("certificate table does not end the file")
    length, revision, kind = struct.unpack_from("<IHH", data, offset)
    if (revision, kind) != (0x0200, 0x0002) or length > size:
        problems.append("not a WIN_CERTIFICATE with PKCS#7 signed data")
    if struct.unpack_from("<I", data, field)[0] != pe_checksum(data, field):
        problems.append("wrong PE checksum")
    return problems


def checksum_complaints(verify_output):
    """osslsigncode's objections to the PE checksum: 2.5 marks the line, 2.9 warns after it."""
    return [line for line in verify_output.splitlines()
            if "invalid PE checksum" in line or ("PE checksum" in line and "MISMATCH" in line)]


def is_signed(path):
    return pe_layout(path.read_bytes())[1][1] != 0


# --- Cases ---------------------------------------------------------------------------------

class Rig:
    def __init__(self, args, work):
        self.mksetup = args.mksetup
        self.stub = args.stub
        self.manifest = args.manifest
        self.uninstaller = args.uninstaller
        self.work = work

    def build(self, out, *extra, stub=None, env=None):
        uninstaller = ["--uninstaller", self.uninstaller] if self.uninstaller else []
        return run([self.mksetup, "build", self.manifest, "-o", out, "--stub", stub or self.stub,
                    *uninstaller, *extra], env=env)

    def verify(self, path, cert):
        return run(["osslsigncode", "verify", "-CAfile", cert, "-in", path])

    def manifest_record(self):
        """The record of an unsigned build of the manifest, as mksetup inspect reads it."""
        out = self.work / "plain.exe"
        self.build(out)
        report = self.inspect(out)[1]
        if not report:
            raise RuntimeError("mksetup inspect cannot read an unsigned build of the manifest")
        return report["record"]

    def inspect(self, path):
        result = run([self.mksetup, "inspect", "--json", path])
        return result.returncode, (json.loads(result.stdout) if result.stdout else None)


def fake_osslsigncode(folder, body, record=None):
    """A stand-in osslsigncode: a shell script that gets the real one's arguments (and writes
    them to `record`, one a line), knows -in and -out, and does `body`."""
    folder.mkdir(parents=True, exist_ok=True)
    script = folder / "osslsigncode"
    script.write_text("#!/bin/sh\n"
                      + ("printf '%%s\\n' \"$@\" >'%s'\n" % record if record else "")
                      + "while [ $# -gt 0 ]; do\n"
                        "  case $1 in -in) in=$2;; -out) out=$2;; esac; shift\n"
                        "done\n"
                      + body + "\n")
    script.chmod(0o755)
    return dict(os.environ, PATH=str(folder) + os.pathsep + os.environ["PATH"])


def failed_signing_leaves_the_old_installer(rig):
    """Whatever goes wrong in the signing step, the build fails and -o keeps what it held."""
    out = rig.work / "failing" / "setup.exe"
    out.parent.mkdir(parents=True)
    cert = rig.work / "failing" / "cert.pem"
    cert.write_text("not used by the stand-ins\n")
    cases = [
        ("osslsigncode fails",
         fake_osslsigncode(rig.work / "fails",
                           "echo 'stand-in: key and certificate do not match' >&2; "
                           "echo Failed; exit 3"),
         ["stand-in: key and certificate do not match", "exit code 3"]),
        ("osslsigncode leaves half a file",
         fake_osslsigncode(rig.work / "half", 'head -c 1000 "$in" >"$out"; exit 1'),
         ["exit code 1"]),
        ("osslsigncode says it signed but did not",
         fake_osslsigncode(rig.work / "unsigned", 'cp "$in" "$out"; echo Succeeded'),
         ["without a signature"]),
        ("osslsigncode is missing",
         dict(os.environ, PATH=str(rig.work / "empty")),
         ["cannot run osslsigncode"]),
    ]
    (rig.work / "empty").mkdir()
    for name, env, messages in cases:
        out.write_bytes(b"the installer built before")
        result = rig.build(out, "--sign-with", cert, "--sign-key", cert, env=env)
        check(result.returncode == 1, "%s: exit code %d, not 1" % (name, result.returncode))
        for message in messages:
            check(message in result.stderr, "%s: %r not in %r" % (name, message, result.stderr))
        check(out.read_bytes() == b"the installer built before", name + ": the old -o was touched")
        left = sorted(p.name for p in out.parent.iterdir())
        check(left == ["cert.pem", "setup.exe"], "%s: left behind: %s" % (name, left))


def options_reach_osslsigncode(rig):
    """What mksetup hands osslsigncode: the key material, SHA-256, the product, the time stamp."""
    record = rig.work / "arguments.txt"
    env = fake_osslsigncode(rig.work / "recording", "exit 1", record=record)
    cert, key, pfx, password = (rig.work / name for name in ("c.pem", "k.pem", "b.pfx", "p.txt"))
    out = rig.work / "recorded.exe"
    cases = [
        (["--sign-with", cert, "--sign-key", key, "--timestamp", "http://ts.example/authenticode"],
         [["-certs", str(cert)], ["-key", str(key)], ["-t", "http://ts.example/authenticode"]],
         ["-pkcs12", "-readpass"]),
        (["--sign-with", pfx, "--sign-pass-file", password],
         [["-pkcs12", str(pfx)], ["-readpass", str(password)]],
         ["-certs", "-key", "-t"]),
    ]
    record_fields = rig.manifest_record()
    for options, pairs, absent in cases:
        record.unlink(missing_ok=True)
        rig.build(out, *options, env=env)
        if not check(record.exists(), "osslsigncode was not run for %s" % options):
            continue
        words = record.read_text().splitlines()
        if not check(len(words) > 4, "osslsigncode got %s" % words):
            continue
        given = set(zip(words, words[1:]))
        for pair in pairs + [["-h", "sha256"], ["-n", record_fields["ProductName"]],
                             ["-i", record_fields["WebSite"]]]:
            check(tuple(pair) in given, "%s not passed for %s: %s" % (pair, options, words))
        for word in absent:
            check(word not in words, "%s passed for %s: %s" % (word, options, words))
        check(words[-4] == "-in" and words[-2] == "-out" and words[-1] != str(out),
              "osslsigncode does not write to a temporary name: %s" % words)

    # Signing options without a certificate are a mistake of the command line, not ignored.
    for lonely in (["--sign-key", key], ["--sign-pass-file", password],
                   ["--timestamp", "http://t"]):
        result = rig.build(out, *lonely, env=env)
        check(result.returncode == 2 and "needs --sign-with" in result.stderr,
              "%s alone: exit code %d, %s" % (lonely[0], result.returncode, result.stderr))


def make_certificates(folder):
    """A self-signed code-signing certificate, as PEM files and as a password-protected .pfx."""
    folder.mkdir()
    key, cert = folder / "key.pem", folder / "cert.pem"
    result = run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                  "-subj", "/CN=Vanto throw-away signing test", "-keyout", key, "-out", cert,
                  "-addext", "keyUsage=critical,digitalSignature",
                  "-addext", "extendedKeyUsage=codeSigning"])
    if result.returncode != 0:
        raise RuntimeError("openssl req failed: " + result.stderr)
    password = folder / "password.txt"
    password.write_text("kiwi-42\n")
    pfx = folder / "bundle.pfx"
    result = run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", pfx,
                  "-passout", "file:" + str(password)])
    if result.returncode != 0:
        raise RuntimeError("openssl pkcs12 failed: " + result.stderr)
    wrong = folder / "wrong-password.txt"
    wrong.write_text("kiwi-43\n")
    return key, cert, pfx, password, wrong


def signed_build_verifies_and_still_installs(rig, key, cert):
    """build --sign-with: a valid signature over an intact payload, laid out as Windows wants."""
    signed = rig.work / "signed.exe"
    resources = rig.work / "resources"
    result = rig.build(signed, "--sign-with", cert, "--sign-key", key,
                       "--save-resources", resources)
    if not check(result.returncode == 0, "signed build failed: " + result.stderr):
        return None
    check("note:" not in result.stderr, "a note for an unsigned stub: " + result.stderr)
    verified = rig.verify(signed, cert)
    check(verified.returncode == 0, "the signed installer does not verify:\n" + verified.stdout
          + verified.stderr)
    check(not checksum_complaints(verified.stdout + verified.stderr),
          "osslsigncode finds the PE checksum wrong")
    for problem in signature_problems(signed):
        check(False, "signed installer: " + problem)

    code, report = rig.inspect(signed)
    check(code == 0, "mksetup inspect refuses the signed installer")
    if report:
        # What Windows' consent prompt shows: the product's name and web site.
        record = report["record"]
        check("Text description: " + record["ProductName"] in verified.stdout,
              "the signature does not carry the product name")
        check("URL description: " + record["WebSite"] in verified.stdout,
              "the signature does not carry the web site")
    return signed, resources / "SETUPPACK"


def a_changed_package_byte_fails_verification(rig, cert, signed, setup_pack):
    data = bytearray(signed.read_bytes())
    pack = setup_pack.read_bytes()
    at = data.find(pack)
    if not check(at > 0 and data.find(pack, at + 1) < 0,
                 "the SETUPPACK bytes are not found exactly once in the installer"):
        return
    tampered = rig.work / "tampered.exe"
    data[at + len(pack) // 2] ^= 0x01
    tampered.write_bytes(bytes(data))
    verified = rig.verify(tampered, cert)
    check(verified.returncode != 0, "a changed SETUPPACK byte still verifies")
    check(any(line.startswith("Calculated message digest") and "MISMATCH" in line
              for line in verified.stdout.splitlines()),
          "verification fails, but not on the digest:\n" + verified.stdout + verified.stderr)


def reembedding_drops_the_signature_and_says_so(rig, cert, signed, setup_pack):
    rebuilt = rig.work / "rebuilt.exe"
    result = rig.build(rebuilt, stub=signed)
    check(result.returncode == 0, "build on a signed stub failed: " + result.stderr)
    note = ("mksetup: note: the stub %s was signed; the signature is dropped, sign the new "
            "installer again" % signed)
    check(note in result.stderr, "no note about the dropped signature: " + result.stderr)
    check(not is_signed(rebuilt), "the installer built on a signed stub has a certificate table")
    check(rig.inspect(rebuilt)[0] == 0, "the installer built on a signed stub is not intact")
    check(rig.verify(rebuilt, cert).returncode != 0, "an unsigned installer verifies")

    embedded = rig.work / "embedded.exe"
    result = run([rig.mksetup, "embed", "--setupini", setup_pack.parent / "SETUPINI",
                  "--setuppack", setup_pack, "-o", embedded, "--stub", signed])
    check(result.returncode == 0, "embed into a signed stub failed: " + result.stderr)
    check(note in result.stderr, "embed gives no note about the dropped signature")
    check(not is_signed(embedded), "embed kept a certificate table")


def sign_command_signs_built_installers(rig, cert, pfx, password, wrong_password):
    """mksetup sign: with a .pfx and its password file, into -o or in place; wrong password."""
    unsigned = rig.work / "to-sign.exe"
    result = rig.build(unsigned)
    if not check(result.returncode == 0, "unsigned build failed: " + result.stderr):
        return
    before = unsigned.read_bytes()

    out = rig.work / "signed-later.exe"
    result = run([rig.mksetup, "sign", unsigned, "--sign-with", pfx, "--sign-pass-file",
                  wrong_password, "-o", out])
    check(result.returncode == 1, "signing with a wrong password did not fail")
    check("osslsigncode could not sign" in result.stderr, "no osslsigncode message: "
          + result.stderr)
    check(not out.exists(), "a failed sign left " + out.name)

    result = run([rig.mksetup, "sign", unsigned, "--sign-with", pfx, "--sign-pass-file",
                  password, "-o", out])
    if not check(result.returncode == 0, "mksetup sign failed: " + result.stderr):
        return
    check(unsigned.read_bytes() == before, "sign -o changed its input")
    check(rig.verify(out, cert).returncode == 0, "the .pfx-signed installer does not verify")
    for problem in signature_problems(out):
        check(False, "sign -o: " + problem)

    # In place, over a signature it already has: replaced, not nested or appended to.
    result = run([rig.mksetup, "sign", out, "--sign-with", pfx, "--sign-pass-file", password])
    check(result.returncode == 0, "signing a signed installer again failed: " + result.stderr)
    verified = rig.verify(out, cert)
    check(verified.returncode == 0 and "Number of verified signatures: 1" in verified.stdout,
          "signing again did not leave one valid signature:\n" + verified.stdout)
    check(rig.inspect(out)[0] == 0, "the re-signed installer is not intact")

    not_pe = rig.work / "not-pe.exe"
    not_pe.write_bytes(b"MZ but nothing more")
    result = run([rig.mksetup, "sign", not_pe, "--sign-with", pfx])
    check(result.returncode == 1 and "truncated" in result.stderr,
          "signing a file that is not a PE: " + result.stderr)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mksetup", type=Path, required=True)
    parser.add_argument("--stub", type=Path, required=True)
    parser.add_argument("--manifest", type=Path, required=True)
    # The uninstaller program, for a manifest whose product carries one.
    parser.add_argument("--uninstaller", type=Path)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="vanto-signing-") as temp:
        rig = Rig(args, Path(temp))
        failed_signing_leaves_the_old_installer(rig)
        options_reach_osslsigncode(rig)
        missing = [tool for tool in ("osslsigncode", "openssl") if not shutil.which(tool)]
        if missing:
            print("SKIP: %s not installed (scripts/bootstrap.sh installs it); only the failure "
                  "cases ran" % " and ".join(missing))
            return 1 if failures else SKIP

        key, cert, pfx, password, wrong = make_certificates(rig.work / "certificates")
        built = signed_build_verifies_and_still_installs(rig, key, cert)
        if built:
            a_changed_package_byte_fails_verification(rig, cert, *built)
            reembedding_drops_the_signature_and_says_so(rig, cert, *built)
        sign_command_signs_built_installers(rig, cert, pfx, password, wrong)

    if failures:
        print("%d check(s) failed" % len(failures), file=sys.stderr)
        return 1
    print("signing: every check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
