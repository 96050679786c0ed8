// quenloft new DIR [--product NAME] [--dialogs] [--shortcuts]: a starting project that
// compiles, builds and installs as it is, for the author to change.
#include <string>

#include "common/exceptions_Quenloft.h"
#include "platform/HostFiles.h"
#include "tools/quenloft/Commands.h"

namespace qnl::tool {

namespace {

const char* const kUsage = "usage: quenloft new DIR [--product NAME] [--dialogs] [--shortcuts]";

struct TNewProject {
  std::string Dir;
  std::string Product = "My Product";
  bool Dialogs = false;
  bool Shortcuts = false;
};

// A text form's string literal.
std::string Quoted(const std::string& Text) {
  std::string out = "'";
  for (char c : Text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// One component of the form: its object line, its property lines ("Name = value") and end.
std::string Component(const std::string& Name, const std::string& Class, const std::string& Properties = "") {
  std::string out = "  object " + Name + ": " + Class + "\n";
  size_t pos = 0;
  while (pos < Properties.size()) {
    size_t end = Properties.find('\n', pos);
    if (end == std::string::npos) end = Properties.size();
    out += "    " + Properties.substr(pos, end - pos) + "\n";
    pos = end + 1;
  }
  return out + "  end\n";
}

// The wizard: its managers and the pages each shows, in the order the sample project uses.
std::string WizardComponents(bool Shortcuts) {
  struct TManager {
    const char* Name;
    const char* Type;
  };
  std::string out;
  for (TManager m :
       {TManager{"BeforeInstallManager", "dmBeforeInstall"}, TManager{"DuringCopyManager", "dmDuringCopyFiles"},
        TManager{"ChangeDiskManager", "dmChangeDisk"}, TManager{"RebootManager", "dmReboot"},
        TManager{"GoodInstallManager", "dmAfterGoodInstall"}, TManager{"BadInstallManager", "dmAfterBadInstall"}})
    out += Component(m.Name, "TDialogManager", "Container = Install1\nManagerType = " + std::string(m.Type));
  auto page = [](const std::string& Name, const std::string& Container, const std::string& Manager, int Order) {
    std::string properties = "Container = " + Container;
    if (!Manager.empty()) properties += "\nDialogManager = " + Manager;
    if (Order) properties += "\nOrder = " + std::to_string(Order);
    return Component(Name, "T" + Name, properties);
  };
  out += page("WelcomeDlg", "Install1", "BeforeInstallManager", 10);
  out += page("SelectDestinationDlg", "Install1", "BeforeInstallManager", 20);
  if (Shortcuts) out += page("SelectFolderDlg", "ProgramFolder", "BeforeInstallManager", 30);
  out += page("CopyFileDlg", "Install1", "DuringCopyManager", 0);
  out += page("InstallStatusDlg", "Install1", "", 0);
  out += page("ChangeDiskDlg", "Install1", "ChangeDiskManager", 0);
  out += page("RebootDlg", "Install1", "RebootManager", 10);
  out += page("GoodInstallationDlg", "Install1", "GoodInstallManager", 10);
  out += page("BadInstallationDlg", "Install1", "BadInstallManager", 10);
  return out;
}

std::string ProjectForm(const TNewProject& P) {
  std::string form =
      "object formMain: TformMain\n  Width = 544\n  Height = 375\n  Caption = " + Quoted(P.Product + " Setup") +
      "\n  Position = poScreenCenter\n";
  for (const char* specifier : {"psContainerArchiveFile", "psContainerDestDir", "psMainArchiveFile", "psProgramFiles"})
    form += Component(specifier, std::string("T") + specifier);
  if (P.Shortcuts)
    for (const char* specifier : {"psProgramMenu", "psObjectLink"})
      form += Component(specifier, std::string("T") + specifier);
  const std::string placed = "ArchiveFileType = psContainerArchiveFile\nDestDirType = psContainerDestDir\n";
  form += Component("Install1", "TInstall",
                    "DestDir = " + Quoted("\\" + P.Product) +
                        "\nDestDirType = psProgramFiles\nInformation.ProductName = " + Quoted(P.Product) +
                        "\nInformation.Version = '1.0'");
  form += Component("Docs", "TInstallDirectory", "Container = Install1\n" + placed + "DestDir = '\\Docs'");
  form += Component("Readme", "TInstallFile",
                    "Container = Docs\n" + placed +
                        "IncludeFromDir = 'files'\nFileName = 'readme.txt'\nDestName = 'readme.txt'\nUniqueID = 0");
  // Without IncludeFromDir, the build takes Quenloft's own uninstaller from the product directory.
  form += Component(
      "Uninstaller", "TUninstallEXE",
      "Container = Install1\n" + placed +
          "FileName = 'QuenloftUninstall.exe'\nDestName = 'QuenloftUninstall.exe'\nNet = False\nUniqueID = 1");
  if (P.Shortcuts) {
    form += Component("ProgramFolder", "TMainLinkGroup", "DestDir = " + Quoted("\\" + P.Product));
    form += Component("ReadmeLink", "TInstallMainLink",
                      "LinkName = 'Read Me.lnk'\nObjectLink = Readme\nObjectLocationType = psObjectLink");
    form += Component("UninstallLink", "TInstallMainLink",
                      "LinkName = " + Quoted("Uninstall " + P.Product + ".lnk") +
                          "\nObjectLink = Uninstaller\nObjectLocationType = psObjectLink");
  }
  if (P.Dialogs) form += WizardComponents(P.Shortcuts);
  return form + "end\n";
}

std::string ProjectReadme(const TNewProject& P) {
  return "# " + P.Product +
         " setup\n\n"
         "`formMain.txt` is the project; `files/` holds what it installs. Every component class and\n"
         "property is listed by `quenloft classes` (and in Quenloft's `docs/reference.md`).\n\n"
         "Build the distribution into `dist/` (named by `BUILD.INF`), from this directory:\n\n"
         "    quenloft compile formMain.txt -o setup\n"
         "    WINEPREFIX=$PWD/author QUENLOFT_PATH=/path/to/quenloft/build/bin ./setup -b\n\n"
         "`QUENLOFT_PATH` names the directory holding Quenloft's loading program `QuenloftLoadProgram.exe`\n"
         "(`build/bin` of a build tree, `lib/quenloft` of an installed Quenloft).\n"
         "Install it on a fresh machine directory, and look at the result:\n\n"
         "    WINEPREFIX=$PWD/test-machine dist/setup.exe\n"
         "    ls \"test-machine/drive_c/Program Files/" +
         P.Product +
         "\"\n\n"
         "Without a display, `QT_QPA_PLATFORM=offscreen QUENLOFT_UNATTENDED=1` answers every page\n"
         "with its default button. The build takes the uninstaller, `QuenloftUninstall.exe`, from the same\n"
         "directory; remove the product again with it (or the Start-menu shortcut):\n\n"
         "    WINEPREFIX=$PWD/test-machine quenloft uninstall " +
         P.Product + " --unattended\n";
}

// The product names a folder of the machine: a plain name, something the form can quote.
void CheckProductName(const std::string& Name) {
  if (Name.empty() || Name.find_first_of("\\/:*?\"<>|") != std::string::npos || Name.front() == ' ' ||
      Name.back() == ' ' || Name.back() == '.')
    throw Exception("The product name \"" + Name +
                    "\" cannot name a folder: use no \\ / : * ? \" < > | and no blank or dot at its end");
  for (unsigned char c : Name)
    if (c < 0x20) throw Exception("The product name holds a control character");
}

TNewProject ParseArguments(const TArgs& Args) {
  TNewProject project;
  for (size_t i = 0; i < Args.size(); ++i) {
    if (Args[i] == "--product" && i + 1 < Args.size())
      project.Product = Args[++i];
    else if (Args[i] == "--dialogs")
      project.Dialogs = true;
    else if (Args[i] == "--shortcuts")
      project.Shortcuts = true;
    else if (project.Dir.empty() && !Args[i].starts_with("-"))
      project.Dir = Args[i];
    else
      throw Exception(kUsage);
  }
  if (project.Dir.empty()) throw Exception(kUsage);
  CheckProductName(project.Product);
  return project;
}

} // namespace

int CmdNew(const TArgs& Args) {
  TNewProject project = ParseArguments(Args);
  // Another project's files would be mixed with (or overwritten by) the new one's.
  if (!host::IsMissingOrEmptyDirectory(project.Dir))
    throw Exception("The directory \"" + project.Dir + "\" is not empty: name a new or empty directory");
  host::ForceDirectories(project.Dir + "/files");
  host::WriteWholeFile(project.Dir + "/formMain.txt", ProjectForm(project));
  // A Windows path relative to the directory the build runs in.
  host::WriteWholeFile(project.Dir + "/BUILD.INF", "dist\r\n");
  host::WriteWholeFile(project.Dir + "/files/readme.txt", "Thank you for installing " + project.Product + ".\r\n");
  host::WriteWholeFile(project.Dir + "/README.md", ProjectReadme(project));
  return 0;
}

} // namespace qnl::tool
