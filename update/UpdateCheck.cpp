// The Help menu's update check: fetch the version file, compare, tell the user.
#include "app/Main_Unit.h"

#include "ui/ProgramInfo.h"
#include "ui/UiSeam.h"
#include "update/VersionFetch.h"
#include "update/core/UpdateCheck.h"

void TMainForm::CheckforupdateVersion1Click(QObject*) {
    const VersionFetchResult fetched = FetchVersionFile(idleHook());
    if (!fetched.ok) {
        UiSeam::error(this, QString::fromStdString(fetched.error)); // the general error report
        return;
    }
    const updatecheck::VersionFile file = updatecheck::readVersionFile(fetched.body);
    const std::string message = updatecheck::updateMessage(file, program::kVersion);
    UiSeam::information(this, QString::fromLatin1(program::kName), QString::fromStdString(message));
}
