#pragma once

namespace sorakado {

// Qt's drawing code can leave the upper halves of the AVX registers in use. The cipher's SHA-1
// and AES code that runs next (key derivation at open, every page read) then pays a transition
// penalty on recent x86 processors and runs at half speed. Clearing the state first costs
// nothing measurable.
void clearUpperVectorState();

} // namespace sorakado
