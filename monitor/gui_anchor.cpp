// Keeps rdx_gui a valid library whatever folders are built.
