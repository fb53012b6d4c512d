// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the program's heap treats the memory of a list it drops.
//
// A search, a due list or a journal of a hundred thousand lines takes some
// tens of megabytes, freed again when its window closes. By default the C
// library hands such memory back to the system at once, so the next list pays
// for fresh pages all over again (on a virtual machine that cost is three
// times the building of the lines). Keeping up to 64 MiB of freed memory for
// reuse makes every list after the first as fast as the first would be with
// its memory already at hand.
namespace fondaro {

// Called once, first thing in main().
void keepFreedMemoryForReuse();

}  // namespace fondaro
