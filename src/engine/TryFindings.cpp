// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TryFindings.h"

#include "check/FindingPlaces.h"
#include "core/ShownText.h"
#include "core/TextFile.h"

#include <sstream>

namespace twl {

namespace {

std::string SkillText(double skill)
{
    std::ostringstream text;
    text << skill;
    return text.str();
}

// The tried file a finding names, when it was tried from memory.
const TryFile* FileNamed(const TryBots& bots, const std::string& shown)
{
    for (const TryFile& file : bots.Files) {
        if (file.Bytes && (ShownText(file.Shown) == shown || file.GamePath == shown ||
                           "botfiles/" + shown == file.GamePath)) {
            return &file;
        }
    }
    return nullptr;
}

bool SameFinding(const Finding& a, const Finding& b)
{
    return a.Level == b.Level && a.File == b.File && a.Line == b.Line && a.Text == b.Text;
}

} // namespace

std::vector<Finding>
TryFindings(const TryVerdict& verdict, const TryBots& bots, const Catalogues& catalogues)
{
    std::vector<Finding> findings;
    if (verdict.Result != TryVerdict::Outcome::Done) {
        findings.push_back({Severity::Error, {}, 0, verdict.Problem, {}});
        std::size_t from = verdict.LastLines.size() > 8 ? verdict.LastLines.size() - 8 : 0;
        for (std::size_t k = from; k < verdict.LastLines.size(); ++k) {
            findings.push_back({Severity::Note, {}, 0, "engine: " + verdict.LastLines[k], {}});
        }
    }
    findings.insert(findings.end(), verdict.Findings.begin(), verdict.Findings.end());
    for (const BotVerdict& bot : verdict.Bots) {
        // What the engine said, each once with the skills it said it at.
        std::vector<Finding> said;
        std::vector<std::vector<double>> skills;
        for (const SkillVerdict& skill : bot.Skills) {
            for (const Finding& finding : skill.Findings) {
                std::size_t k = 0;
                while (k < said.size() && !SameFinding(said[k], finding)) {
                    ++k;
                }
                if (k == said.size()) {
                    said.push_back(finding);
                    skills.emplace_back();
                }
                skills[k].push_back(skill.Skill);
            }
        }
        for (std::size_t k = 0; k < said.size(); ++k) {
            Finding finding = said[k];
            if (const TryFile* file = FileNamed(bots, finding.File)) {
                finding.Place = PlaceOfLine(
                    file->GamePath, SplitTextLines(*file->Bytes), finding.Line, catalogues);
            }
            std::string at;
            for (double skill : skills[k]) {
                at += (at.empty() ? " (skill " : ", ") + SkillText(skill);
            }
            finding.Text += at + ")";
            findings.push_back(std::move(finding));
        }
        for (const SkillVerdict& skill : bot.Skills) {
            std::string who = bot.Name + " at skill " + SkillText(skill.Skill) + ": ";
            if (!skill.Entered) {
                findings.push_back({Severity::Error,
                                    bot.Shown,
                                    0,
                                    who + (skill.Added ? "set up, but it never entered the game"
                                                       : "the game did not add it"),
                                    {}});
                continue;
            }
            for (const CharacterLoad& load : skill.Characters) {
                if (load.Default) {
                    findings.push_back({Severity::Error,
                                        bot.Shown,
                                        0,
                                        who + "the game's default bot stood in for its skill " +
                                            SkillText(load.Skill) +
                                            " block, which the game could not read",
                                        {}});
                }
            }
            std::string files =
                skill.Characters.empty() ? std::string("?") : skill.Characters.front().File;
            findings.push_back({Severity::Note,
                                bot.Shown,
                                0,
                                who + "in the game, its characteristics from " + files + ", " +
                                    std::to_string(skill.Chats.size()) + " chat types built",
                                {}});
            if (skill.Play.Played) {
                findings.push_back({Severity::Note,
                                    bot.Shown,
                                    0,
                                    who + "in the match: " + std::to_string(skill.Play.Frags) +
                                        " frags, " + std::to_string(skill.Play.Deaths) + " deaths",
                                    {}});
                for (const std::string& line : skill.Play.Said) {
                    findings.push_back({Severity::Note, bot.Shown, 0, who + "said: " + line, {}});
                }
            }
        }
    }
    return findings;
}

} // namespace twl
