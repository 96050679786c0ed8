#!/usr/bin/env python3
"""Writes the text form of a project that installs every file listed on stdin (paths relative
to TREE): one install directory per source directory, one install file per file; with
--progress also a progress window (a during-copy manager and its TCopyFileDlg). UniqueIDs go up to 1999:
past 2000 files they repeat (members are found by name; the repeated ones only share the
figures read back from the archive)."""
import sys

tree, product = sys.argv[1], sys.argv[2]
progress = "--progress" in sys.argv[3:]


def win(path):
    return "Z:" + path.replace("/", "\\")


def quoted(text):
    return "'" + text.replace("'", "''") + "'"


files = [line.rstrip("\n") for line in sys.stdin if line.strip()]
out = [
    "object formMain: TformMain",
    "  Caption = " + quoted(product + " Setup"),
    "  object psProgramFiles: TpsProgramFiles", "  end",
    "  object psMainArchiveFile: TpsMainArchiveFile", "  end",
    "  object psContainerArchiveFile: TpsContainerArchiveFile", "  end",
    "  object psContainerDestDir: TpsContainerDestDir", "  end",
    "  object Install1: TInstall",
    "    DestDir = " + quoted("\\" + product),
    "    DestDirType = psProgramFiles",
    "    Information.ProductName = " + quoted(product),
    "  end",
]
dirs = {}
for n, rel in enumerate(files):
    folder, _, name = rel.rpartition("/")
    if folder not in dirs:
        dirs[folder] = "Dir%d" % len(dirs)
        out += ["  object %s: TInstallDirectory" % dirs[folder], "    Container = Install1",
                "    ArchiveFileType = psContainerArchiveFile", "    DestDirType = psContainerDestDir",
                "    DestDir = " + quoted("\\" + folder.replace("/", "\\")), "  end"]
    out += ["  object F%d: TInstallFile" % n, "    Container = " + dirs[folder],
            "    ArchiveFileType = psContainerArchiveFile", "    DestDirType = psContainerDestDir",
            "    IncludeFromDir = " + quoted(win(tree + "/" + folder)), "    FileName = " + quoted(name),
            "    DestName = " + quoted(name), "    UniqueID = %d" % (n % 2000), "  end"]
if progress:
    out += ["  object CopyManager: TDialogManager", "    Container = Install1", "    ManagerType = dmDuringCopyFiles",
            "  end", "  object CopyFileDlg: TCopyFileDlg", "    Container = Install1",
            "    DialogManager = CopyManager", "  end"]
out.append("end")
print("\n".join(out))
