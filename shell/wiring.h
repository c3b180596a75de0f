// Connects the subsystems: the clock's collaborators become the real
// observation, tray, store and timer operations.
#pragma once

void ConnectClockToSubsystems();
