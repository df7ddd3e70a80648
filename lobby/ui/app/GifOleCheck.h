// Whether the chat's animated-GIF control can be created and run.
#pragma once

int IsGifOleControlAvailable();
