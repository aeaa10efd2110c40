// Makes every class of the framework and of the skin known by name before
// the program creates its first form from a description.
#pragma once

void RegisterSkinControlClasses();
