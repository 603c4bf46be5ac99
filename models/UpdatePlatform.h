#pragma once

#include <QString>

// Where this platform's update lives on the server and what the installer
// artifact is called: a disk image on macOS, a .tar.gz of the runnable tree
// on Linux. The manifest's "UpdateLists" entry for the installer carries the
// same file name.
namespace UpdatePlatform {

struct InstallerArtifact {
  QString platformDirectory;  // below the server root, with a leading "/"
  QString fileName;           // the installer's file name, without a "/"
};

InstallerArtifact installerArtifact();

}  // namespace UpdatePlatform
