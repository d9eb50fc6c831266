#pragma once
// The controller's fixed texts, exactly as the user sees them.
#include <string_view>

namespace texts {
inline constexpr std::u16string_view kNoInternet =
    u"No Internet Connection Dected! The connection is required for utilizing this software";
inline constexpr std::u16string_view kInstallConnector =
    u"   This program requires MySQL datasource connector\n\n   Do you want to install it?";
inline constexpr std::u16string_view kObsoleteSoftware =
    u"   This device has obsolete software version\n   It's strongly recommended that you upgrade to a "
    u"newer version\n\n   Do you want to upgrade?";
inline constexpr std::u16string_view kConnectorInstaller = u"odbc/mysql-connector-odbc-5.1.11-win32.msi";

inline constexpr std::u16string_view kNonAvailable = u"Non available";
inline constexpr std::u16string_view kDeviceDisconnected = u"Device disconnected";
// Shown instead of kDeviceDisconnected when an interface is attached but may not be opened.
inline constexpr std::u16string_view kDevicePermissionDenied =
    u"Interface found, but permission denied: install the udev rule 70-telvix-interface.rules and "
    u"attach the interface again";
inline constexpr std::u16string_view kReadyForDownload = u"Ready for download";
inline constexpr std::u16string_view kInitializing = u"Initializing";

inline constexpr std::u16string_view kSettingsUpdated = u"Device settings have been successfully updated";
inline constexpr std::u16string_view kSettingsWriteError =
    u"Write error! Device flash memory cannot be updated";
inline constexpr std::u16string_view kOsdUpdated = u"OSD settings have been successfully updated";
inline constexpr std::u16string_view kOsdWriteError = u"Write error! OSD settings cannot be updated";

inline constexpr std::u16string_view kFeaturesRead = u"Click Accept to Start Programming";
inline constexpr std::u16string_view kFeaturesReadError = u"Read error!Con not read Features options.";
inline constexpr std::u16string_view kFeaturesWriteError = u"Write error! Device features cannot be updated.";
inline constexpr std::u16string_view kFeaturesUpdated = u"Device features have been successfully updated";
inline constexpr std::u16string_view kFeaturesUpdateFailed = u"Features update failed!";
inline constexpr std::u16string_view kProgrammingErrors[] = {u"Wrong OBD optio", u"Incorrect VIN number",
                                                             u"OBD Authorization error", u"Diagnostic error"};

inline constexpr std::u16string_view kStepAvailability = u"Verifying software availability";
inline constexpr std::u16string_view kStepRebooting = u"Rebooting device";
inline constexpr std::u16string_view kStepDownloading = u"Downloading software";
inline constexpr std::u16string_view kStepWaitInit = u"Waiting for device initialization";
inline constexpr std::u16string_view kStepDatabase = u"Updating database";
inline constexpr std::u16string_view kStepMemory = u"Updating device memory";
inline constexpr std::u16string_view kStepVerifyMemory = u"Verifying device memory";
inline constexpr std::u16string_view kStepIntegrity = u"Verifiyng data integrity";
inline constexpr std::u16string_view kStepInstalled = u"Software has been successfully installed";

inline constexpr std::u16string_view kErrorNotFound = u"ERROR: Requested software not found";
inline constexpr std::u16string_view kErrorDownload = u"ERROR: Download failed";
inline constexpr std::u16string_view kErrorDatabase = u"ERROR: Can't update database";
inline constexpr std::u16string_view kErrorMemory = u"ERROR: Can't update device memory";
inline constexpr std::u16string_view kErrorVerify = u"ERROR: Device memory can't be verified";
inline constexpr std::u16string_view kErrorUpdate = u"ERROR: Update failed";
// Our own: the catalogue could not say how the model is flashed; the driver's message follows.
inline constexpr std::u16string_view kErrorCatalogue = u"ERROR: Catalogue not reachable";
}  // namespace texts
