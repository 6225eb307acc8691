// Keeps rdx_core a valid library whatever folders are built.
