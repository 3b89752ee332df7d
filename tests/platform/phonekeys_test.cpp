#include "platform/phonekeys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

struct KeyRow {
    int toolkit;
    int phone;
};

class PhoneKeyNumbering : public ::testing::TestWithParam<KeyRow>
{
};

TEST_P(PhoneKeyNumbering, translatesBothWays)
{
    const KeyRow &r = GetParam();
    EXPECT_EQ(PhoneKeys::fromToolkit(r.toolkit), r.phone);
    EXPECT_EQ(PhoneKeys::toToolkit(r.phone), r.toolkit);
}

INSTANTIATE_TEST_SUITE_P(StoredBindings, PhoneKeyNumbering,
                         ::testing::Values(KeyRow{Qt::Key_F11, 4154}, KeyRow{Qt::Key_F12, 4155},
                                           KeyRow{Qt::Key_Enter, 4101},
                                           KeyRow{Qt::Key_Return, 4100}, KeyRow{Qt::Key_Up, 4115},
                                           KeyRow{Qt::Key_Down, 4117}, KeyRow{Qt::Key_Left, 4114},
                                           KeyRow{Qt::Key_Right, 4116}, KeyRow{Qt::Key_F3, 4146},
                                           KeyRow{Qt::Key_F2, 4145}, KeyRow{Qt::Key_F29, 4172},
                                           KeyRow{Qt::Key_F28, 4171}, KeyRow{Qt::Key_F9, 4152},
                                           KeyRow{Qt::Key_F10, 4153}, KeyRow{Qt::Key_F5, 4148},
                                           KeyRow{Qt::Key_PageUp, 0x1016},
                                           KeyRow{Qt::Key_Escape, 0x1000},
                                           // printable keys keep their numbers
                                           KeyRow{Qt::Key_A, 'A'}, KeyRow{Qt::Key_5, '5'}));

// The whole desktop key table as the README gives it to users.
class DesktopKey : public ::testing::TestWithParam<KeyRow>
{
};

TEST_P(DesktopKey, standsForItsPhoneKey)
{
    EXPECT_EQ(PhoneKeys::fromDesktop(GetParam().toolkit), GetParam().phone);
}

INSTANTIATE_TEST_SUITE_P(
    Readme, DesktopKey,
    ::testing::Values(
        KeyRow{Qt::Key_Return, 4101}, KeyRow{Qt::Key_Enter, 4101}, KeyRow{Qt::Key_Space, 4101},
        KeyRow{Qt::Key_MediaPlay, 4101}, KeyRow{Qt::Key_Left, 4114}, KeyRow{Qt::Key_Up, 4115},
        KeyRow{Qt::Key_Right, 4116}, KeyRow{Qt::Key_Down, 4117}, KeyRow{Qt::Key_PageUp, 4154},
        KeyRow{Qt::Key_Plus, 4154}, KeyRow{Qt::Key_VolumeUp, 4154}, KeyRow{Qt::Key_PageDown, 4155},
        KeyRow{Qt::Key_Minus, 4155}, KeyRow{Qt::Key_VolumeDown, 4155}, KeyRow{Qt::Key_Home, 4171},
        KeyRow{Qt::Key_MediaPrevious, 4171}, KeyRow{Qt::Key_End, 4172},
        KeyRow{Qt::Key_MediaNext, 4172}, KeyRow{Qt::Key_Insert, 4152}, KeyRow{Qt::Key_F9, 4152},
        KeyRow{Qt::Key_Delete, 4153}, KeyRow{Qt::Key_F10, 4153}, KeyRow{Qt::Key_ScrollLock, 4146},
        KeyRow{Qt::Key_Pause, 4146}, KeyRow{Qt::Key_F3, 4146}, KeyRow{Qt::Key_Print, 4145},
        KeyRow{Qt::Key_F2, 4145}, KeyRow{Qt::Key_Backspace, 4148}, KeyRow{Qt::Key_F5, 4148},
        KeyRow{Qt::Key_Escape, 4144}, KeyRow{Qt::Key_F1, 4144}, KeyRow{Qt::Key_Call, 4169},
        KeyRow{Qt::Key_F26, 4169}, KeyRow{Qt::Key_F4, 0x1033}));

TEST(PhoneKeys, desktopKeysStandForThePhonesKeys)
{
    EXPECT_EQ(PhoneKeys::fromDesktop(Qt::Key_Return), int(PhoneKeys::Centre));
    EXPECT_EQ(PhoneKeys::fromDesktop(Qt::Key_PageUp), int(PhoneKeys::VolumeUp));
    EXPECT_EQ(PhoneKeys::fromDesktop(Qt::Key_Minus), int(PhoneKeys::VolumeDown));
    EXPECT_EQ(PhoneKeys::fromDesktop(Qt::Key_Escape), int(PhoneKeys::Cancel));
    // Keys not in the desktop table fall back to the plain numbering.
    EXPECT_EQ(PhoneKeys::fromDesktop(Qt::Key_F3), int(PhoneKeys::Lock));
    EXPECT_EQ(PhoneKeys::fromDesktop(Qt::Key_Q), int('Q'));
    QKeyEvent event(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    EXPECT_EQ(PhoneKeys::fromEvent(&event), int(PhoneKeys::Next));
}

TEST(PhoneKeys, desktopTableHasNoConflictingRows)
{
    int count = 0;
    const PhoneKeys::DesktopKey *table = PhoneKeys::desktopTable(&count);
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            EXPECT_NE(table[i].toolkitKey, table[j].toolkitKey) << table[i].desktopName;
}
