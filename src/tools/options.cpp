#include "tools/options.h"

namespace zep {

namespace {

constexpr QStringView DefaultAutoStartText = u"15";

} // namespace

OptionValues readOptions(const Settings& settings, const ClientSettings& clientSettings) {
    OptionValues values;
    values.autoStartTime = settings.read(keys::GeneralAutoStartTime.name, DefaultAutoStartText.toString());
    values.music = settings.read(keys::GeneralMusik) > 0;
    values.resubmissionShow = settings.resubmissionShow();
    for (int i = 0; i < int(values.addressCaptions.size()); ++i)
        values.addressCaptions[i] = clientSettings.addressFieldCaption(i + 1);
    for (int i = 0; i < int(values.documentCaptions.size()); ++i)
        values.documentCaptions[i] = clientSettings.documentFieldCaption(i + 1);
    return values;
}

bool writeOptions(const OptionValues& values, const Settings& settings, const ClientSettings& clientSettings) {
    bool written = true;
    for (int i = 0; i < int(values.addressCaptions.size()); ++i)
        written = clientSettings.setAddressFieldCaption(i + 1, values.addressCaptions[i]) && written;
    for (int i = 0; i < int(values.documentCaptions.size()); ++i)
        written = clientSettings.setDocumentFieldCaption(i + 1, values.documentCaptions[i]) && written;
    written = settings.setMusic(values.music) && written;
    written = settings.write(keys::GeneralAutoStartTime.name, values.autoStartTime) && written;
    const int mode = values.resubmissionShow == 2 || values.resubmissionShow == 1 ? values.resubmissionShow : 0;
    written = settings.setResubmissionShow(mode) && written;
    return written;
}

int runningResubmissionStart(int chosenMode) {
    return chosenMode == 2 ? 2 : 0;
}

} // namespace zep
