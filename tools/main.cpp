// The tavorin command-line tool: round-trips a sample form through stream
// files, explains and compares stream files, and turns them into JSON and
// back.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "value_text.h"

namespace {

constexpr const char* kVersionLine = "tavorin Version 1.0";

struct FileConversionArguments {
  std::vector<std::string> files;
  std::string folder;
};

// A command that turns files into files, beside them or into --out.
CLI::App* AddFileConversion(CLI::App& app, const std::string& name, const std::string& summary,
                            const std::string& filesHelp, const std::string& folderHelp,
                            FileConversionArguments& arguments) {
  CLI::App* command = app.add_subcommand(name, summary);
  command->add_option("FILE", arguments.files, filesHelp)->required();
  command->add_option("--out", arguments.folder, folderHelp);
  return command;
}

int Run(int argc, char** argv) {
  using namespace tavorin::cli;

  CLI::App app("Copies, saves and restores the state of form controls as streams.", "tavorin");
  app.set_version_flag("--version", kVersionLine, "Print the version and exit");
  app.require_subcommand(1);

  std::string demoFolder = "tavorin-demo";
  CLI::App* demo = app.add_subcommand(
      "demo",
      "Write one control of every handled class to stream files and the whole form to a "
      "form-state file, restore them onto fresh forms and check that the forms agree");
  demo->add_option("--out", demoFolder, "Folder for the stream files (created when missing)")
      ->capture_default_str();

  std::vector<std::string> inspectFiles;
  bool inspectJson = false;
  CLI::App* inspect = app.add_subcommand(
      "inspect", "Explain stream and form-state files entry by entry (exit 1 if any is neither)");
  inspect->add_option("FILE", inspectFiles, "Stream or form-state files")->required();
  inspect->add_flag("--json", inspectJson, "Machine-readable output");

  std::string diffFirst, diffSecond;
  CLI::App* diff = app.add_subcommand("diff",
                                      "Show the entries (and the controls of form states) in which "
                                      "two files differ (exit 0 equal, 1 different, 2 error)");
  diff->add_option("A", diffFirst, "First stream or form-state file")->required();
  diff->add_option("B", diffSecond, "Second stream or form-state file")->required();

  FileConversionArguments exportArguments, importArguments;
  CLI::App* exportCommand = AddFileConversion(
      app, "export",
      "Write each stream or form-state file as JSON: FILE to FILE.json (exit 1 if any is "
      "neither)",
      "Stream or form-state files", "Folder for the JSON files (default: beside each)",
      exportArguments);
  CLI::App* importCommand = AddFileConversion(
      app, "import",
      "Turn each exported JSON file back into its exact stream: FILE.json to FILE (exit 1 if any "
      "is refused; it then writes nothing)",
      "JSON files that export wrote", "Folder for the streams (default: beside each)",
      importArguments);

  // CLI11 would take an unknown command for a stray argument; name it plainly.
  if (argc > 1 && argv[1][0] != '-') {
    const std::string command = argv[1];
    const std::vector<CLI::App*> known = app.get_subcommands({});
    if (std::none_of(known.begin(), known.end(),
                     [&](const CLI::App* sub) { return sub->get_name() == command; })) {
      std::cerr << "tavorin: unknown command: " << PlainForTerminal(command) << "\n\n"
                << app.help();
      return kExitUsage;
    }
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);  // --help, --version
    // Show the usage of the command that was given, if it got that far.
    const std::vector<CLI::App*> given = app.get_subcommands();
    std::cerr << "tavorin: " << MessageForTerminal(error.what()) << "\n\n"
              << (given.empty() ? app.help() : given.front()->help());
    return kExitUsage;
  }

  if (demo->parsed()) return RunDemo(demoFolder, std::cout, std::cerr);
  if (inspect->parsed()) return RunInspect(inspectFiles, inspectJson, std::cout, std::cerr);
  if (exportCommand->parsed())
    return RunExport(exportArguments.files, exportArguments.folder, std::cout, std::cerr);
  if (importCommand->parsed())
    return RunImport(importArguments.files, importArguments.folder, std::cout, std::cerr);
  return RunDiff(diffFirst, diffSecond, std::cout, std::cerr);
}

}  // namespace

// Whatever fails on the way, the tool says so and exits 2; it never aborts.
int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& failure) {
    std::cout.flush();
    std::cerr << "tavorin: " << tavorin::cli::MessageForTerminal(failure.what()) << "\n";
  } catch (...) {
    std::cout.flush();
    std::cerr << "tavorin: an unexpected failure\n";
  }
  return tavorin::cli::kExitUsage;
}
