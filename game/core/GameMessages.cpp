#include "game/core/GameMessages.h"

CMessage::~CMessage() = default;
