// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/SliderScale.h"

#include <QWidget>

#include <array>

class QLabel;
class QRadioButton;
class QSlider;

namespace twl {

// One value on a slider, with its caption above and the value at its left.
// The value label shows what the program set (0.37, or 700 beyond the
// range: then in italics, with a tooltip saying why the knob stands at an
// end) until the user moves the slider; only the user's moves are
// reported, with the value of the position the slider stands at.
class OneSlider : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(double Value READ GetValue WRITE SetValue)
    Q_PROPERTY(int IndexS READ IndexS WRITE SetIndexS)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit OneSlider(QWidget* parent = nullptr);

    int Max() const { return m_max; }

    // 1, 4, 5, 360, 400, 600 or 1000; any other maximum changes nothing.
    void SetMax(int max);

    // The number the value label shows.
    double GetValue() const { return m_value; }

    void SetValue(double value);

    int IndexS() const { return m_index; }

    void SetIndexS(int index) { m_index = index; }

    QString Caption() const;
    void SetCaption(const QString& caption);

signals:
    void ValueChanges(double sValue);

private:
    void ShowValue(double value);
    void Moved(int position);
    void Committed();

    QLabel* m_caption;
    QLabel* m_valueLabel;
    QSlider* m_slider;
    SliderRange m_range;
    int m_max = 0;
    int m_index = 0;
    double m_value = 0.0;
    int m_committed = 0;
};

// One value for each skill level 1, 4 and 5, optionally linked so that the
// levels stay in order. As with OneSlider, what the program sets is shown as
// it is, and the user's moves are reported: the moved level last, after the
// levels it carried along.
class ThreeSlider : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int IndexS READ IndexS WRITE SetIndexS)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int SlideBehaviour READ SlideBehaviour WRITE SetSlideBehaviour)
    Q_PROPERTY(bool ZeroIsNo READ ZeroIsNo WRITE SetZeroIsNo)

public:
    explicit ThreeSlider(QWidget* parent = nullptr);

    int Max() const { return m_max; }

    void SetMax(int max);
    // `level` 1, 4 or 5.
    void SetValue(int level, double value);
    double GetValue(int level) const;

    int IndexS() const { return m_index; }

    void SetIndexS(int index) { m_index = index; }

    QString Caption() const;
    void SetCaption(const QString& caption);

    // 0 independent, 1 never falls as the skill rises, 2 never rises.
    int SlideBehaviour() const { return m_behaviour; }

    void SetSlideBehaviour(int behaviour) { m_behaviour = behaviour; }

    bool ZeroIsNo() const { return m_zeroIsNo; }

    void SetZeroIsNo(bool zeroIsNo);

signals:
    void ValueChanges(int sSkill, double sValue);

private:
    QString TextOf(double value) const;
    void ShowValue(std::size_t level, double value);
    void Moved(std::size_t level, int position);
    void Committed(std::size_t level);
    std::array<int, 3> Positions() const;

    QLabel* m_caption;
    std::array<QSlider*, 3> m_sliders{};
    std::array<QLabel*, 3> m_valueLabels{};
    SliderRange m_range;
    int m_max = 0;
    int m_index = 0;
    int m_behaviour = 0;
    bool m_zeroIsNo = false;
    std::array<double, 3> m_values{};
    std::array<int, 3> m_committed{};
};

// The scale of a page of weights: 400, 600 or 1000.
class MaxSelect : public QWidget
{
    Q_OBJECT

public:
    explicit MaxSelect(QWidget* parent = nullptr);

signals:
    void AdjustScale(int ScaleValue);

private:
    std::array<QRadioButton*, 3> m_options{};
};

} // namespace twl
