#pragma once

// Every picture and sound of the program is a file in the folder "Resources" that ships beside the
// executable, reached by its project name. A picture is loaded at its first use and kept; one that
// could not be loaded is tried again at its next use. A sound is tried once per run.

#include <QPixmap>
#include <QString>
#include <QStringList>

namespace SpecialFolderWendle {
// The folder of the running executable.
QString BundleMacOSFolder();
// Its parent; empty when there is none.
QString BundleContentsFolder();
// The folder of pictures and sounds; empty when none can be found.
QString BundleResourcesFolder();
// Where what ships with the program (its "Resources", the help pages, the quick start guide) is looked
// for, in order: beside the executable (the build, or a school's copy of the program's folder as it
// is), then the share folder of an install (bin/../share/numbrook-riza).
QStringList shippedFolders();
// The first existing child of that name (a folder when folder is true, else a file) in those folders;
// empty when there is none.
QString findShipped(const QString& name, bool folder);
// The places the "Resources" folder was looked for, for a message that says where.
QStringList resourcesCandidates();
} // namespace SpecialFolderWendle

namespace ProjectMedia {
// The file name a project picture or sound is read from ("HiLo" -> "Hi.Lo.png").
QString pictureFileName(const QString& projectName);
QString soundFileName(const QString& projectName);
// The picture, or a null pixmap when its file is missing or unreadable.
QPixmap picture(const QString& projectName);
// The absolute path of the sound's file, or empty when the first attempt found none.
QString soundPath(const QString& projectName);
// The file names of the catalogue's pictures and sounds that `folder` (the resources folder) lacks,
// all of them when it is empty, in catalogue order.
QStringList missingFiles(const QString& folder);
// Forgets everything loaded (for tests that swap the resources folder).
void forgetAll();
// Every project picture and sound by project name, in catalogue order.
const QStringList& pictureNames();
const QStringList& soundNames();
} // namespace ProjectMedia

// One accessor per project picture, named as the picture.
// clang-format off
#define NBR_PICTURES(X) \
    X(BlkBkg) X(CBoxNorm) X(Click2) X(CtrlPanel2) X(OVRInfo) X(NBQ2007Splash) X(newProgCnv)                \
    X(newerMissPlt) X(NoStar) X(smallstar) X(selMDBtn) X(XStar) X(Blank) X(Eight) X(Five) X(Four) X(neg)   \
    X(Nine) X(One) X(Seven) X(Six) X(Three) X(Two) X(zero) X(TBHelp) X(blueCheckBox) X(boxWithCheck)       \
    X(CkBoxMask) X(CurStudGraphic) X(CustomBlueBkg) X(congratsBKG2) X(HiLo) X(MathBskt2) X(MathFunnel2)    \
    X(button64) X(newIndxbdr) X(MaskLrg) X(HOF10Title) X(HOF10Stars) X(new0stars) X(new10stars)            \
    X(new15stars) X(new20stars) X(new25stars) X(new30stars) X(new35stars) X(new40stars) X(new5stars)       \
    X(curLocBtn) X(new10Icon64) X(ActionLrg) X(CancelLrg) X(GreenBtn) X(ltRedBtn) X(yellowBtn)             \
    X(Prim_Div3) X(Prim_Minus3) X(Prim_Zeri3) X(Prim_Times3) X(cautionBkg4) X(funWMath) X(roundTBmask)     \
    X(AllBtn) X(DivBtn) X(easyStartBtn) X(MinusBtn) X(ZeriBtn) X(TimesBtn) X(can_closed3) X(can_open3)     \
    X(newCaution64) X(plusminuspic)
// clang-format on

namespace Pictures {
#define NBR_PICTURE_ACCESSOR(name)                                                                           \
    inline QPixmap name() {                                                                                  \
        return ProjectMedia::picture(QStringLiteral(#name));                                                 \
    }
NBR_PICTURES(NBR_PICTURE_ACCESSOR)
#undef NBR_PICTURE_ACCESSOR
} // namespace Pictures

// One accessor per project sound, named as the sound: the path of its file, or empty when the one
// attempt of the run found none.
// clang-format off
#define NBR_SOUNDS(X) \
    X(blip) X(right1) X(right2) X(right3) X(right4) X(right5) X(right6) X(right7) X(right8) \
    X(wrong1) X(wrong2) X(wrong3) X(wrong4) X(Wrong5) X(Wrong6) X(wrong7) X(wrong8) \
    X(round1) X(round2) X(round3) X(round4) X(round5) X(round6) X(round7) X(round8)
// clang-format on

namespace Sounds {
#define NBR_SOUND_ACCESSOR(name)                                                                             \
    inline QString name() {                                                                                  \
        return ProjectMedia::soundPath(QStringLiteral(#name));                                               \
    }
NBR_SOUNDS(NBR_SOUND_ACCESSOR)
#undef NBR_SOUND_ACCESSOR
} // namespace Sounds
