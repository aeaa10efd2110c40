// Makes every streamable class of the skin engine and of the skinned
// controls known by name, after the framework's. A program calls it (or the
// registration of a library above) once at start-up, before its first form
// description is read; calling it again does nothing more.
#pragma once

void RegisterSkinClasses();
