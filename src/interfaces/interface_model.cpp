#include "interfaces/interface_model.h"

namespace tarvel {

std::string sensorSubdirectory(int model, int chipLinkKind)
{
    switch (model) {
        case ModelDeltronics:
            return "DSI";
        case ModelSenseControl:
            return "SAC";
        case ModelContactController:
        case ModelQuillo:
            return "CC";
        case ModelTolvaChip:
            return chipLinkKind == kChipLinkContactController ? "CC" : "OTHERS";
        case ModelLego:
            return "Lego";
        case ModelFischertechnik:
            return "Ft";
        default:
            return "OTHERS";
    }
}

bool isContactControllerType(int model, int chipLinkKind)
{
    return model == ModelContactController || model == ModelQuillo ||
           (model == ModelTolvaChip && chipLinkKind == kChipLinkContactController);
}

bool usesChipEntry(int model)
{
    return model == ModelTolvaChip;
}

bool compilesToDirectDialect(int model, int chipLinkKind)
{
    return model == ModelQuillo ||
           (model == ModelTolvaChip && chipLinkKind == kChipLinkContactController);
}

int programImageSize(int model, int chipSizeWord)
{
    return model == ModelTolvaChip && chipSizeWord == kSmallProgramSize ? kSmallProgramSize
                                                                        : kFullProgramSize;
}

}  // namespace tarvel
