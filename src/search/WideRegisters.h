#pragma once
// Whether the processor has 32-byte vector registers (AVX2). The byte loops
// of the search are compiled for them too and use them where they exist.
namespace zevro {

bool hasWideRegisters();

}  // namespace zevro
