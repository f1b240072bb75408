/* Veldmark's host API: plain C functions through which an embedding host drives the drive and
 * reads its state, its display list and its statistics. They run on the caller's thread without
 * locks; values read while the main loop steps may come from two different steps. StepBack and
 * SimulationStep must not run at the same time. Entry points marked "builds the world" build the
 * route first if nothing has yet. */
#ifndef VELDMARK_HOST_API_H
#define VELDMARK_HOST_API_H

#include <stdint.h>

#if defined(_WIN32)
#  if defined(VELDMARK_BUILDING_CORE)
#    define VELDMARK_API __declspec(dllexport)
#  else
#    define VELDMARK_API
#  endif
#else
#  define VELDMARK_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Advances the drive one step (builds the world). Returns the lead vehicle's braking flag. */
VELDMARK_API uint32_t SimulationStep(void);

/* Builds the frame for the current state (builds the world): chooses the focal length and look
 * direction, writes the display list and places the sun. Returns the display list's bytes used. */
VELDMARK_API uint32_t FrameParams(void);

/* The display list being built: its words, capacity in bytes and the largest size so far. */
VELDMARK_API uint32_t* DisplayListAddress(void);
VELDMARK_API uint32_t DisplayListCapacity(void);
VELDMARK_API uint32_t DisplayListPeakBytes(void);

/* Animal spots the last frame skipped as too far ahead or smaller than 2 pixels. */
VELDMARK_API uint32_t AnimalsOutOfRange(void);
VELDMARK_API uint32_t AnimalsTooSmall(void);

VELDMARK_API float FocalLength(void);
/* The drive clock, truncated toward zero. */
VELDMARK_API int32_t DriveTicks(void);
/* Logical width the projections centre on; a value that is not finite is ignored. */
VELDMARK_API void SetViewWidth(float width);

/* Vehicle and lead vehicle (each builds the world). */
VELDMARK_API uint32_t CarSection(void);
VELDMARK_API float CarSpeed(void);
VELDMARK_API float LookAngle(void);
VELDMARK_API uint32_t LeadBraking(void);
VELDMARK_API float LeadSpeed(void);
/* How far the lead vehicle is ahead of the vehicle along the route. */
VELDMARK_API float LeadGap(void);

/* Sky colours for the current drive clock, 0x00RRGGBB, and the view roll (builds the world). */
VELDMARK_API uint32_t ZenithColour(void);
VELDMARK_API uint32_t HorizonColour(void);
VELDMARK_API float RollAngle(void);

/* Undoes the last step, up to 8,192 steps back (builds the world). */
VELDMARK_API void StepBack(void);

#ifdef __cplusplus
}
#endif

#endif
