# Orca writes its debug log through a block-buffered file; the tests read the log while Orca
# runs, so every line must reach it as soon as it is written.
import orca.debug

if orca.debug.debugFile is not None:
    orca.debug.debugFile.reconfigure(line_buffering=True)
