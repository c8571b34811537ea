// quorvel: recovers deleted JPEG photos from the free clusters of a FAT32 or
// NTFS partition or disk image, without ever writing to it.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_main.h"
#include "cli/interrupt.h"
#include "cli/partition_table_hint.h"
#include "cli/source_checks.h"
#include "cli/terminal_scan_dialog.h"
#include "engine/scan_job.h"
#include "platform/diagnostics.h"
#include "platform/text.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr int kExitIncomplete = 3;
constexpr int kExitAborted = 130;

const char kUsage[] =
    "Usage: quorvel scan SOURCE -o FOLDER [--open]\n"
    "\n"
    "Recovers deleted JPEG photos from the free space of a FAT32 or NTFS volume.\n"
    "SOURCE is a partition (a block device such as /dev/sdb1) or an image file\n"
    "of one partition. It is opened read-only and never written to. Each photo\n"
    "found is written to FOLDER as NUMBER.jpg; FOLDER must be on another drive.\n"
    "\n"
    "Options:\n"
    "  -o, --output FOLDER  where the recovered photos are written\n"
    "      --open           open FOLDER in the file browser when done\n"
    "  -h, --help           show this help\n"
    "      --version        show the version\n"
    "\n"
    "Ctrl-C stops the scan and writes the photos found so far; a second Ctrl-C\n"
    "aborts without writing more.\n"
    "\n"
    "Exit status: 0 scan finished (or stopped) and every photo found was stored,\n"
    "1 bad input or unreadable volume, 2 bad command line, 3 some photos could\n"
    "not be stored, 130 aborted.\n";

struct Arguments {
  std::string source;
  std::string output;
  bool openFolder = false;
};

// The dialog whose progress line a diagnostic line must not run into.
CTerminalScanDialog* g_progressLineOwner = nullptr;

void EndProgressLine() {
  if (g_progressLineOwner != nullptr) g_progressLineOwner->FinishProgressLine();
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "quorvel: %s\n\n%s", message.c_str(), kUsage);
  return kExitUsage;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorvel: %s\n", message.c_str());
  return kExitError;
}

int RunScanCommand(const Arguments& args) {
  const SourceCheck source = CheckSource(args.source);
  if (!source.ok) return Fail(source.error);
  std::string folder;
  const SourceCheck output = CheckOutputFolder(args.output, args.source, &folder);
  if (!output.ok) return Fail(output.error);

  wchar_t letter = 0;
  const SourceCheck mapped = MapSourceToDrive(args.source, &letter);
  if (!mapped.ok) return Fail(mapped.error);

  CTerminalScanDialog::Options options;
  options.partitionText = std::wstring(1, letter) + L":";
  options.outputDir = platform::Utf8ToWide(folder);
  options.openFolder = args.openFolder;
  options.progressIsTerminal = ProgressIsTerminal();
  CTerminalScanDialog dialog(options);

  InstallInterruptHandler(&dialog);
  g_progressLineOwner = &dialog;
  platform::SetBeforeDiagnosticHook(EndProgressLine);
  const ScanJobOutcome outcome = RunScanThreadBody(dialog);
  platform::SetBeforeDiagnosticHook(nullptr);
  g_progressLineOwner = nullptr;
  RemoveInterruptHandler();
  dialog.FinishProgressLine();
  UnmapSourceDrive(letter);

  switch (outcome.kind) {
    case ScanJobOutcome::kScanned:
      if (dialog.FailedWrites() > 0) {
        std::fprintf(stderr, "quorvel: %u found photo(s) could not be stored whole (see above)\n",
                     dialog.FailedWrites());
        return kExitIncomplete;
      }
      return kExitOk;
    case ScanJobOutcome::kAborted:
      std::fprintf(stderr, "quorvel: scan aborted; nothing was written\n");
      return kExitAborted;
    case ScanJobOutcome::kNotOpened: {
      const std::string hint = PartitionTableHint(args.source);
      return Fail(args.source + ": " + outcome.error + (hint.empty() ? "" : ". " + hint));
    }
    case ScanJobOutcome::kNoMemory:
      return Fail(outcome.error);
    case ScanJobOutcome::kNoPartition:
      break;
  }
  return Fail("no partition to scan");
}

}  // namespace

#ifdef _WIN32
int QuorvelMain(int argc, char** argv) {
#else
int main(int argc, char** argv) {
#endif
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) return UsageError("no command given");
  for (const std::string& word : words) {
    if (word == "-h" || word == "--help") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    if (word == "--version") {
      std::printf("quorvel %s\n", QUORVEL_VERSION);
      return kExitOk;
    }
  }
  if (words[0] != "scan") return UsageError("unknown command '" + words[0] + "'");

  Arguments args;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "-o" || word == "--output") {
      if (i + 1 >= words.size()) return UsageError(word + " needs a folder");
      args.output = words[++i];
    } else if (word.rfind("--output=", 0) == 0) {
      args.output = word.substr(9);
    } else if (word == "--open") {
      args.openFolder = true;
    } else if (!word.empty() && word[0] == '-' && word != "-") {
      return UsageError("unknown option '" + word + "'");
    } else if (args.source.empty()) {
      args.source = word;
    } else {
      return UsageError("more than one SOURCE given");
    }
  }
  if (args.source.empty()) return UsageError("no SOURCE given");
  if (args.output.empty()) return UsageError("no output folder given (-o FOLDER)");
  return RunScanCommand(args);
}
