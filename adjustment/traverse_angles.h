#pragma once
// The angle arithmetic of the traverse record book: every value is computed
// from readings in two faces and shown as the book rounds angles (see
// SplitDmsRounded). Readings are radians.

#include "adjustment/angle.h"

namespace tarvosen {

// The seconds sum of a target's two horizontal readings: s_I + s_II, plus 60
// for every minute the two minute texts lie apart, counted the short way
// round the hour (59' and 00' are one minute apart).
int SecondsSum(const DmsParts& faceI, const DmsParts& faceII);

// The mean direction of a target from its face I and face II horizontal
// readings: face I corrected by half the deviation of face II from face I +
// 180°, so it is right whichever half of the circle face I lies in and across
// north. Not reduced to one turn.
double MeanDirection(double faceI, double faceII);

// The mean direction as the book shows it: rounded to the book's seconds.
double RoundedMeanDirection(double faceI, double faceII);

// The horizontal angle at a station: foresight mean direction minus
// backsight mean direction, each rounded as the book shows it.
double HorizontalAngle(double backsightI, double backsightII, double foresightI,
                       double foresightII);

// The vertical index error in whole seconds from the face I and face II
// zenith readings, i = (Z_I + Z_II − 360°) / 2: whole seconds of i are kept;
// with a fraction above 0.01", an odd whole second is moved one second away
// from zero (12.5" gives 12, 13.5" gives 14, −13.5" gives −14).
int IndexErrorSeconds(double zenithI, double zenithII);

// The face I zenith reading corrected by the index error in whole seconds.
double CorrectedZenith(double zenithI, int indexErrorSeconds);

}  // namespace tarvosen
