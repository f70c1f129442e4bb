// The window classes of the toolkit's custom controls: registered while a
// dialog of the module is up, and removed again so an unloaded module leaves none behind.
#pragma once

namespace morvessan {

// Registers every custom control class (again harmless); the object removes them when
// the last one goes out of scope.
class VXToolkitClasses {
public:
    VXToolkitClasses();
    ~VXToolkitClasses();
    VXToolkitClasses(const VXToolkitClasses&) = delete;
    VXToolkitClasses& operator=(const VXToolkitClasses&) = delete;
};

} // namespace morvessan
