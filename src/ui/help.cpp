// The key-help boxes of the in-declaration menu.
#include "base/codepage.h"
#include "ui/ui.h"

namespace kardo::ui {

using namespace base::literals;

void Ui::HELPGER() {
  std::vector<std::string> lines = {
      std::string("Alt   No menu inicial (fora da declaração) marca ou desmarca a letra sublinhada no menu."_cp),
      std::string("Quando marcada basta digitar a letra marcada (em maiúscula) para ir no item selecionado."_cp),
      std::string("Teclas de movimentação rápida nas telas tipo 'browse'"_cp),
      std::string("Home - Vai para a primeira coluna que aparece na tela."_cp),
      std::string("End  - Vai para a última coluna que aparece na tela."_cp),
      std::string("Ctrl - Home Vai para a primeira coluna do browse"_cp),
      std::string("Ctrl End  - Vai para a última coluna do browse"_cp),
      std::string("Page Down - Vai última linha que aparece na tela."_cp),
      std::string("Page Up   - Vai para a primeira linha que aparece na tela."_cp),
      std::string("Ctrl Page Down - Vai última linha do Browse"_cp),
      std::string("Ctrl Page Up   - Vai para a primeira linha do Browse"_cp),
      std::string("Dentro de uma linha de edição"_cp),
      std::string("Ctrl Y Apaga a linha a partir do cursor."_cp),
      std::string("End  Fim da linha"_cp),
      std::string("Home  Começo da linha"_cp),
      std::string("Ctrl setas direita ou esquerda - pula palavras conforme a direção da seta."_cp),
  };
  AVISOSN(std::move(lines), base::BOX_PLAIN, "Aviso");
}

void Ui::HELPFUN() {
  std::vector<std::string> lines = {
      std::string("Alt +  Marca com S todas pessoas em uma tela de seleção aberta."_cp),
      std::string("Alt +  Na tela F1 mostra todos os campos da linha selecionada."_cp),
      std::string("Alt -  Marca com N todas pessoas em uma tela de seleção aberta."_cp),
      std::string("Alt A (Altera) Muda a o preenchimento usada na Física ou no AAR "_cp),
      std::string("Alt B (Busca) Busca p/Balanco sinais de riqueza. No F1-fonte pagadora os bancos"_cp),
      std::string("Alt C (Copia) Transfere da memória o texto copiado pelo o ALT M para o campo"_cp),
      std::string("Alt E (Elimina) Elimina n linhas na declaração de bens e ônus"_cp),
      std::string("Alt H (Hora) Liga/Desliga Relógio (Desliga após tempo sem uso)"_cp),
      std::string("Alt J (Junta) Nos BENS cópia o dado enviado pelo Alt M para o fim de uma linha"_cp),
      std::string("Alt L (Linha) Inclui N linhas na declaração de bens e ônus"_cp),
      std::string("Alt K Abre a calculadora do Windows"_cp),
      std::string("Alt M (Move) Transfere linha/campo para a memória"_cp),
      std::string("Alt N (Não) Transporta o valor do C.Leão pago ou do devido indicado pelo(*)"_cp),
      std::string("Alt O (Organizar) No L.Caixa da PF ou AAR organiza pela coluna que estiver."_cp),
      std::string("Alt P (Padrão) No item local do programa da receita traz o endereço padrão."_cp),
      std::string("Alt R (Reorganizar) A numeração dos itens nos bens/dívida (IR ou no AAR)."_cp),
      std::string("Alt S (Soma) Calculadora - Ctrl Enter-Transfere o resultado para o campo."_cp),
      std::string("Alt T (Termina) Termina uma declaração ou sai do programa."_cp),
      std::string("Alt I (Iniciar) Abre a tela de selecionar o contribuinte para fazer a declaração."_cp),
      std::string("Alt U (US$) Transforma R$ <-> US$. Serve também como uma somadora auxiliar."_cp),
      std::string("Alt U Nos pagamentos com o código 50 separa do GPS o valor do empregador."_cp),
      std::string("Alt U Nos pagamentos de pensão(30 a 34) transfere p/ F2 os valores mensais."_cp),
      std::string("Ctrl C Copia o campo que está e leva para a área de transferência do Windows."_cp),
      std::string("Alt V Traz a área de transferência do Windows para o campo onde estiver."_cp),
      std::string("Alt X ou Alt Z(Zoom) Amplia declaração de bens ou ônus "_cp),
      std::string("Alt W (Write) Grava a declaração e permanece na declaração"_cp),
      std::string("Alt F1 Tela auxiliar da F1 (P.Física)-Guarda a lista das fontes pagadoras e CNPJ"_cp),
      std::string("Alt F1 estando no CNPJ aparecerá a lista dos Bancos com seu CNPJ"_cp),
      std::string("Alt F3 vai direto para a tela do rendimento do Conjuge."_cp),
      std::string("Alt F4 Tela auxiliar da tela 4 (Pagamentos) p/ guardar dados repetitivos"_cp),
      std::string("Alt F5 Tela auxiliar da tela 5 (Bens) p/ copiar guardar dados repetitivos"_cp),
      std::string("Alt F6 Abre na tela 5 a tela para preencher prejuízos sem ganho de capital"_cp),
      std::string("Alt 2 e 3 No LCaixa do AAR. Alt 2 marca o inicio para uma soma e Alt 3 o final"_cp),
      std::string("Para a descrição da declaração de bens, das dívidas e a tela de observações (F11)"_cp),
      std::string("ALT Down (Seta p/baixo).Traz da área do Windows e sem limites de linhas"_cp),
      std::string("Alt Up (seta p/cima). Copia a linha para a memória, somando a existente anterior"_cp),
      std::string("Alt End. Fim da cópia feita pelo Alt Up e envia para a área do Windows"_cp),
  };
  AVISOSN(std::move(lines), base::BOX_PLAIN, "Comandos Auxiliares");
}

}  // namespace kardo::ui
