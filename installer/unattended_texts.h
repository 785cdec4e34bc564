#pragma once
// The texts of the installer's switches: the list /? shows and the message
// for a command line it cannot read. Written in unattended_texts.cpp.in as
// UTF-8, turned into GBK when it is built.
namespace installer::unattended_texts {

// The switches and the exit codes (exit_codes.h), one per line.
extern const char kSwitchesHelp[];
// Put before the English description of what is wrong, above kSwitchesHelp.
extern const char kBadCommandLine[];

}  // namespace installer::unattended_texts
