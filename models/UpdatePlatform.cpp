#include "UpdatePlatform.h"

#include <QtGlobal>

namespace UpdatePlatform {

InstallerArtifact installerArtifact() {
#if defined(Q_OS_MACOS)
  return {QStringLiteral("/macos"), QStringLiteral("Veltro-Orvik.dmg")};
#else
  return {QStringLiteral("/linux"), QStringLiteral("Veltro-Orvik-linux.tar.gz")};
#endif
}

}  // namespace UpdatePlatform
