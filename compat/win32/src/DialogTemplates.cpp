#include <tarnelix/DialogTemplate.h>

#include <map>

namespace tarnelix {

namespace {

std::map<int, DialogTemplate>& templates() {
    static std::map<int, DialogTemplate> registered;
    return registered;
}

} // namespace

void registerDialogTemplate(int resourceId, const DialogTemplate& dialog) {
    templates()[resourceId] = dialog;
}

const DialogTemplate* findDialogTemplate(int resourceId) {
    auto found = templates().find(resourceId);
    return found == templates().end() ? nullptr : &found->second;
}

} // namespace tarnelix
