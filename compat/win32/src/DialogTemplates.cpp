#include <tarnelix/DialogTemplate.h>

#include <map>

namespace tarnelix {

namespace {

std::map<int, DialogTemplate>& templates() {
    // Never destroyed: static objects of the program may still use it while the process ends.
    static auto* registered = new std::map<int, DialogTemplate>();
    return *registered;
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
