#!/bin/bash
# Prints the Windows preset whose programs this machine can run under Wine:
# "windows" (the 32-bit deliverables) where it runs 32-bit code, "win64" (the
# same sources built for 64-bit Windows) on a machine that runs 64-bit code only.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo windows; else echo win64; fi
