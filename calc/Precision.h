// Keeps the x87 unit at its full 64-bit significand while a calculation runs.
// The schedules evaluate their formulas in extended precision; Windows and
// some of its DLLs may leave the unit at 53 bits, which would silently round
// every long double intermediate to double.
#pragma once

namespace calc {

class ExtendedPrecisionScope {
  public:
#if (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)
    ExtendedPrecisionScope() {
        __asm__ __volatile__("fnstcw %0" : "=m"(saved_));
        unsigned short extended = static_cast<unsigned short>(saved_ | 0x0300);
        if (extended != saved_) __asm__ __volatile__("fldcw %0" : : "m"(extended));
    }
    ~ExtendedPrecisionScope() {
        __asm__ __volatile__("fldcw %0" : : "m"(saved_));
    }

  private:
    unsigned short saved_ = 0;
#else
    ExtendedPrecisionScope() = default;
#endif
  public:
    ExtendedPrecisionScope(const ExtendedPrecisionScope&) = delete;
    ExtendedPrecisionScope& operator=(const ExtendedPrecisionScope&) = delete;
};

} // namespace calc
