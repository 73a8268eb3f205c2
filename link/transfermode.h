#pragma once

namespace qx {

// What a transfer does: reads the radio's memory into a file, or writes a file into it.
enum class TransferMode { Read, Write };

} // namespace qx
