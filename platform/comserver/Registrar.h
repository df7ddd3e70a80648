// Writes registry scripts (see RegScript.h) to the registry and removes them.
//
// Removal: a ForceRemove key goes with everything below it; a NoRemove key
// stays (its subkeys and named values are removed as the script says); any
// other key loses its subkeys and values as listed and goes once nothing else
// is left in it.
#pragma once

#include <windows.h>

#include "platform/comserver/RegScript.h"

HRESULT ApplyRegScript(const RegScript& script, bool registering);

// Runs the "REGISTRY" resource id of the module (Chinese (PRC) preferred, then
// any language) with %MODULE% = the module's full path and the replacements given.
HRESULT UpdateRegistryFromResource(HINSTANCE module, UINT id, bool registering, const RegReplacements& replacements);
