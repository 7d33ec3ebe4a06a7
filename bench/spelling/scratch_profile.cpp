#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include "common.h"
#include "platform/text.h"
#include "spelling/hunspell_engine.h"
#include "spelling/spell_dictionary.h"
#include "spelling/suggestion_proof.h"
using namespace lexicrawl;
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  auto d = bench::LoadPackage(QString::fromLocal8Bit(argv[1]));
  QElapsedTimer t; t.start();
  d.dictionary->Proof();
  printf("proof wait %lld ms\n", (long long)t.elapsed());
  QStringList words = bench::SitePageWords(QString::fromLocal8Bit(argv[2]));
  auto* e = d.dictionary->Engine(); auto* p = d.dictionary->Proof();
  double tSpell=0, tDecide[3]={0,0,0}, tSuggest=0; long n[4]={0,0,0,0}; long spelled=0;
  std::vector<std::pair<double,QString>> slow;
  for (const QString& w : words) {
    t.restart(); bool ok = e->Spell(w); tSpell += t.nsecsElapsed()/1e9;
    if (ok) { spelled++; continue; }
    if (LowerAZ(w) != w) continue;
    t.restart(); auto v = p->Decide(w, *e); double dt = t.nsecsElapsed()/1e9; tDecide[int(v)] += dt; n[int(v)]++;
    slow.push_back({dt, w});
    if (v == SuggestionProof::Verdict::Undecided) { t.restart(); auto sg = e->Suggest(w); double ds = t.nsecsElapsed()/1e9; tSuggest += ds; printf("UNDECIDED %.1fms %s -> %s\n", ds*1000, qPrintable(w), qPrintable(sg.join(','))); }
  }
  printf("words %lld spelled %ld spell %.2fs | known %ld %.2fs unknown %ld %.2fs undecided %ld %.2fs suggest %.2fs\n", (long long)words.size(), spelled, tSpell, n[0], tDecide[0], n[1], tDecide[1], n[2], tDecide[2], tSuggest);
  std::sort(slow.rbegin(), slow.rend());
  for (int i = 0; i < 15 && i < (int)slow.size(); ++i) printf("  %.1f ms %s\n", slow[i].first*1000, qPrintable(slow[i].second));
}
