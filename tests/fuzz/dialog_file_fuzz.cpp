// A dialog description file opened as a dialog (with macro parameters), drawn once and closed
// again on the NULL device. Its actions run on the script host, which the fuzz host keeps away
// from files and bounds.
#include "core/vellumengine.h"
#include "dialogs/module_dialogfactory.h"
#include "fuzz/fuzz_host.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::scene();
    const std::string path = fuzz::writeDataFile("fuzz.dlg", data, size);
    try {
        openDialog(path + "?name=fuzz&x=1");
        getEngine().getRenderer().renderAll();
    } catch (const fuzz::InputRefused&) {
    }
    getEngine().closeDialogs("");
    fuzz::clearScene();
    return 0;
}
