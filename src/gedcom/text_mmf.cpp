#include "gedcom/text_mmf.h"

#include <utility>

namespace kindrel {

WMMFReadOnly::WMMFReadOnly(std::string fileName) : WMMF(std::move(fileName), 0, kModeReadOnly) {}

WTextMMF::WTextMMF(std::string fileName) : WMMFReadOnly(std::move(fileName)) {
    m_usesLF = kindrel::UsesLF(TextStart(), TextEnd());
}

WGEDTextMMF::WGEDTextMMF(std::string fileName) : WTextMMF(std::move(fileName)) {}

}  // namespace kindrel
